#include "lang/translate_with.h"

#include "lang/translation.h"

namespace torva {

std::string translateWith(std::string_view source, std::initializer_list<std::string_view> values) {
    std::string text = translate(source);
    std::size_t from = 0;
    for (const std::string_view value : values) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

} // namespace torva
