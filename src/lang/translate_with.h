#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace torva {

// translate(source), then each "%s" of the translation replaced by the next of values, in
// order. Values are put in as they are (a "%s" inside one stays); "%s" left over stay too.
std::string translateWith(std::string_view source, std::initializer_list<std::string_view> values);

} // namespace torva
