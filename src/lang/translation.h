#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace torva {

// Opens every language file of the table in folder (default: the program's "DIESEL_LANG"
// data folder). A file that cannot be read leaves its slot without a file. May be called
// again; the new set replaces the old one at once.
void openLanguageFiles();
void openLanguageFiles(const std::string& folder);

// One lookup in the file of a slot. A slot without a file answers from the English file, and
// when that is missing too, as a file without the text would: with text itself, \t \r \n
// unescaped. So a language whose file is missing never shows empty texts.
std::string lookup(int slot, std::string_view text);

// The whole translation step for every text shown: Polish source text in, the current
// language's text out, with the first "LPG" shown as "CNG" on CNG installations.
// Safe to call from any thread.
std::string translate(std::string_view text);
// translate(text) with its marks "%1", "%2", ... replaced by values in that order, so that a
// translation may place the numbers where its language wants them.
std::string translateNumbered(std::string_view text, std::initializer_list<std::string> values);

int currentLanguage();
// True when index shows its own language: Polish, or a slot whose file was opened. The
// language menu disables the others.
bool isLanguageAvailable(int index);

// The language menu's action: when index differs from the current one (and is not negative),
// makes it current and tells every subscriber, in the order they subscribed, on this thread.
void selectLanguage(int index);

// Keeps a language-change handler registered for its lifetime.
class CLanguageSubscription {
public:
    CLanguageSubscription() = default;
    ~CLanguageSubscription();
    CLanguageSubscription(CLanguageSubscription&& other) noexcept;
    CLanguageSubscription& operator=(CLanguageSubscription&& other) noexcept;
    CLanguageSubscription(const CLanguageSubscription&) = delete;
    CLanguageSubscription& operator=(const CLanguageSubscription&) = delete;

private:
    friend CLanguageSubscription subscribeLanguageChange(std::function<void(int)> handler);
    explicit CLanguageSubscription(int id) : m_id(id) {}

    int m_id = 0;
};

// handler(index) runs after every language change. Subscribe the fault decoders before the
// windows, so the windows re-translate with decoders that already speak the new language.
[[nodiscard]] CLanguageSubscription subscribeLanguageChange(std::function<void(int)> handler);

} // namespace torva
