#pragma once

#include <string>

namespace torva {

// A window with translatable texts. Its host re-translates pages in order: the page button
// gets title(), then the page runs retranslate().
class IMultilangGUI {
public:
    virtual ~IMultilangGUI() = default;
    // Sets every text of the window anew through translate().
    virtual void retranslate() {}
    // The window's translated page title.
    virtual std::string title() const { return {}; }
};

} // namespace torva
