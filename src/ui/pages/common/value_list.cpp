#include "ui/pages/common/value_list.h"

namespace torva {

std::optional<std::size_t> SValueList::indexOf(int value) const {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == value)
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> SValueList::lastIndexOf(int value) const {
    for (std::size_t i = items.size(); i-- > 0;) {
        if (items[i].value == value)
            return i;
    }
    return std::nullopt;
}

SValueList SValueList::positional(const std::vector<std::string>& texts) {
    SValueList list;
    list.translated = false;
    for (std::size_t i = 0; i < texts.size(); ++i)
        list.items.push_back({texts[i], static_cast<int>(i)});
    return list;
}

} // namespace torva
