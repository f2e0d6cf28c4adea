#include "lang/translation.h"

#include "config/cng_flag.h"
#include "lang/field_escapes.h"
#include "lang/lang_file.h"
#include "lang/languages.h"
#include "platform/folders.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <shared_mutex>
#include <utility>
#include <vector>

namespace torva {

namespace {

using Slots = std::array<CLangFile, kLanguageSlotCount>;

// The polling thread translates error texts while the window thread may reopen the files.
std::shared_mutex g_slotsLock;
Slots g_slots;

std::atomic<int> g_language{kPolishLanguage};

struct SSubscriber {
    int id;
    std::function<void(int)> handler;
};

// Recursive: a handler may subscribe or unsubscribe while being notified.
std::recursive_mutex g_subscribersLock;
std::vector<SSubscriber> g_subscribers;
int g_nextSubscriberId = 1;

void unsubscribe(int id) {
    std::lock_guard guard(g_subscribersLock);
    std::erase_if(g_subscribers, [id](const SSubscriber& s) { return s.id == id; });
}

void notifyLanguageChange(int index) {
    std::lock_guard guard(g_subscribersLock);
    std::vector<int> ids;
    for (const SSubscriber& s : g_subscribers)
        ids.push_back(s.id);
    for (int id : ids) {
        const auto it = std::find_if(g_subscribers.begin(), g_subscribers.end(),
                                     [id](const SSubscriber& s) { return s.id == id; });
        if (it != g_subscribers.end()) {
            const auto handler = it->handler; // the vector may change during the call
            handler(index);
        }
    }
}

const CLangFile* fileServing(int slot) {
    if (slot > 0 && slot < kLanguageSlotCount && g_slots[slot].isOpen())
        return &g_slots[slot];
    if (g_slots[kEnglishLanguage].isOpen())
        return &g_slots[kEnglishLanguage];
    return nullptr;
}

void replaceFirstLpg(std::string& text) {
    const auto at = text.find("LPG");
    if (at != std::string::npos)
        text.replace(at, 3, "CNG");
}

} // namespace

void openLanguageFiles() {
    openLanguageFiles(programDataFolder("DIESEL_LANG"));
}

void openLanguageFiles(const std::string& folder) {
    Slots opened;
    for (const SLanguage& language : languageFiles())
        opened[language.index].open((std::filesystem::path(folder) / language.fileName).string());
    std::unique_lock guard(g_slotsLock);
    g_slots = std::move(opened);
}

std::string lookup(int slot, std::string_view text) {
    std::shared_lock guard(g_slotsLock);
    if (const CLangFile* file = fileServing(slot)) {
        if (auto found = file->find(text))
            return *std::move(found);
    }
    return unescapeField(text);
}

std::string translate(std::string_view text) {
    const int index = g_language.load();
    std::string result =
        index == kPolishLanguage ? std::string(text) : lookup(languageSlot(index), text);
    if (isCngInstallation())
        replaceFirstLpg(result);
    return result;
}

int currentLanguage() {
    return g_language.load();
}

bool isLanguageAvailable(int index) {
    const int slot = languageSlot(index);
    if (slot == kPolishLanguage)
        return true;
    std::shared_lock guard(g_slotsLock);
    return g_slots[slot].isOpen();
}

void selectLanguage(int index) {
    if (index < 0 || g_language.exchange(index) == index)
        return;
    notifyLanguageChange(index);
}

CLanguageSubscription subscribeLanguageChange(std::function<void(int)> handler) {
    std::lock_guard guard(g_subscribersLock);
    const int id = g_nextSubscriberId++;
    g_subscribers.push_back({id, std::move(handler)});
    return CLanguageSubscription(id);
}

CLanguageSubscription::~CLanguageSubscription() {
    if (m_id)
        unsubscribe(m_id);
}

CLanguageSubscription::CLanguageSubscription(CLanguageSubscription&& other) noexcept
    : m_id(std::exchange(other.m_id, 0)) {}

CLanguageSubscription& CLanguageSubscription::operator=(CLanguageSubscription&& other) noexcept {
    if (this != &other) {
        if (m_id)
            unsubscribe(m_id);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

} // namespace torva
