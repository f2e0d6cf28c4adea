#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace torva {

// One combo item: the text shown (a Polish source text, translated when shown, or a number
// shown as it is) and the value stored in the record when it is chosen, independent of the
// item's position and of its translated text.
struct SValueItem {
    std::string text;
    int value = 0;
};

// A combo's option list.
struct SValueList {
    std::vector<SValueItem> items;
    bool translated = true; // false: the texts are numbers, shown as they are

    // The position of the first item with this value.
    std::optional<std::size_t> indexOf(int value) const;
    // The position of the last item with this value: the one a combo shows for it.
    std::optional<std::size_t> lastIndexOf(int value) const;
    // Items "0", "1", ... of the given texts, each valued by its position.
    static SValueList positional(const std::vector<std::string>& texts);
};

} // namespace torva
