#include "lang/translation.h"

#include "lang/cng_flag.h"
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

struct SSubscriber {
    int id;
    std::function<void(int)> handler;
};

// Function-local, so that start-up code running during static initialisation finds it built.
struct SLanguageState {
    // The polling thread translates error texts while the window thread may reopen the files.
    std::shared_mutex slotsLock;
    Slots slots;
    std::atomic<int> language{kPolishLanguage};
    // Recursive: a handler may subscribe or unsubscribe while being notified.
    std::recursive_mutex subscribersLock;
    std::vector<SSubscriber> subscribers;
    int nextSubscriberId = 1;
};

SLanguageState& state() {
    static SLanguageState s;
    return s;
}

void unsubscribe(int id) {
    SLanguageState& st = state();
    std::lock_guard guard(st.subscribersLock);
    std::erase_if(st.subscribers, [id](const SSubscriber& s) { return s.id == id; });
}

void notifyLanguageChange(int index) {
    SLanguageState& st = state();
    std::lock_guard guard(st.subscribersLock);
    std::vector<int> ids;
    for (const SSubscriber& s : st.subscribers)
        ids.push_back(s.id);
    for (int id : ids) {
        const auto it = std::find_if(st.subscribers.begin(), st.subscribers.end(),
                                     [id](const SSubscriber& s) { return s.id == id; });
        if (it != st.subscribers.end()) {
            const auto handler = it->handler; // the vector may change during the call
            handler(index);
        }
    }
}

// Call with slotsLock held.
const CLangFile* fileServing(const Slots& slots, int slot) {
    if (slot > 0 && slot < kLanguageSlotCount && slots[slot].isOpen())
        return &slots[slot];
    if (slots[kEnglishLanguage].isOpen())
        return &slots[kEnglishLanguage];
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
    SLanguageState& st = state();
    std::unique_lock guard(st.slotsLock);
    st.slots = std::move(opened);
}

std::string lookup(int slot, std::string_view text) {
    SLanguageState& st = state();
    std::shared_lock guard(st.slotsLock);
    if (const CLangFile* file = fileServing(st.slots, slot)) {
        if (auto found = file->find(text))
            return *std::move(found);
    }
    return unescapeField(text);
}

std::string translate(std::string_view text) {
    const int index = currentLanguage();
    std::string result =
        index == kPolishLanguage ? std::string(text) : lookup(languageSlot(index), text);
    if (isCngInstallation())
        replaceFirstLpg(result);
    return result;
}

std::string translateNumbered(std::string_view text, std::initializer_list<std::string> values) {
    std::string result = translate(text);
    int number = 1;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(number++);
        if (const std::size_t at = result.find(mark); at != std::string::npos)
            result.replace(at, mark.size(), value);
    }
    return result;
}

int currentLanguage() {
    return state().language.load();
}

bool isLanguageAvailable(int index) {
    const int slot = languageSlot(index);
    if (slot == kPolishLanguage)
        return true;
    SLanguageState& st = state();
    std::shared_lock guard(st.slotsLock);
    return st.slots[slot].isOpen();
}

void selectLanguage(int index) {
    if (index < 0 || state().language.exchange(index) == index)
        return;
    notifyLanguageChange(index);
}

CLanguageSubscription subscribeLanguageChange(std::function<void(int)> handler) {
    SLanguageState& st = state();
    std::lock_guard guard(st.subscribersLock);
    const int id = st.nextSubscriberId++;
    st.subscribers.push_back({id, std::move(handler)});
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
