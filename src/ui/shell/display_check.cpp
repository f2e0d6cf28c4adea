#include "ui/shell/display_check.h"

#include <cstdlib>

namespace torva {

namespace {
bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
} // namespace

std::string displayProblem() {
    // A platform chosen on purpose (offscreen, vnc, ...) needs no display.
    if (isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
        return {};
    }
    return "torva-diesel: no display available (DISPLAY and WAYLAND_DISPLAY are unset); try "
           "'xvfb-run torva-diesel --demo' or 'QT_QPA_PLATFORM=offscreen torva-diesel --demo', "
           "or use the command-line tool 'torvactl --help'.";
}

} // namespace torva
