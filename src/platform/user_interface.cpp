#include "platform/user_interface.h"

#include "platform/clock.h"

#include <atomic>
#include <iostream>

namespace torva {

EAnswer IUserInterface::noConnectionChoice(const std::string& text, const std::string& caption,
                                           const std::string&, const std::string&) {
    return question(text, caption, EButtons::OkCancel, EIcon::Question) == EAnswer::Ok
               ? EAnswer::Ok
               : EAnswer::Cancel;
}

void CHeadlessUserInterface::message(const std::string& text, const std::string& caption, EIcon) {
    std::cerr << caption << ": " << text << '\n';
}

EAnswer CHeadlessUserInterface::question(const std::string& text, const std::string& caption,
                                         EButtons buttons, EIcon) {
    std::cerr << caption << ": " << text << '\n';
    return buttons == EButtons::YesNo ? EAnswer::No : EAnswer::Cancel;
}

std::string CHeadlessUserInterface::chooseFile(const SFileChoice&) { return {}; }

void CHeadlessUserInterface::progress(const std::string&, int, int) {}

void CHeadlessUserInterface::setWaitCursor(bool) {}

void CHeadlessUserInterface::responsiveWait(int ms) { appClock().sleepMs(ms); }

namespace {
CHeadlessUserInterface g_headless;
std::atomic<IUserInterface*> g_ui{&g_headless};
} // namespace

IUserInterface& appUi() { return *g_ui.load(); }

void setAppUi(IUserInterface* ui) { g_ui.store(ui ? ui : &g_headless); }

} // namespace torva
