// Every Polish text the program passes to translation must have an entry in every language
// file, carrying the same format directives and escapes, and no file may keep texts the program
// no longer shows; otherwise a user meets Polish text, a garbled message or a crash in printf.

#include "lang/field_escapes.h"
#include "lang/lang_file.h"
#include "lang/lang_file_writer.h"
#include "lang/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace torva;

namespace {

const fs::path kSourceDir = TORVA_SOURCE_DIR;
const fs::path kEnglishSource = kSourceDir / "data/DIESEL_LANG/ENGLISH.utf8.txt";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct SSourceText {
    std::string text;
    std::string where; // file:line
};

// A small C++ scanner: finds PL("...") and translate("...") whose argument is nothing but
// string literals (adjacent ones joined), skipping comments, and decodes the literals' escapes.
// It also keeps every literal of the code, which is how texts passed on in variables show.
class CSourceScanner {
public:
    CSourceScanner(std::string_view source, std::string fileName)
        : m_src(source), m_file(std::move(fileName)) {}

    std::vector<SSourceText> scan() {
        while (m_pos < m_src.size()) {
            const char c = m_src[m_pos];
            if (startsWith("//")) {
                skipTo("\n");
            } else if (startsWith("/*")) {
                m_pos += 2;
                skipTo("*/");
                m_pos += 2;
            } else if (c == '"') {
                m_literals.insert(readAdjacentLiterals());
            } else if (c == '\'' && !(m_pos > 0 && isIdentifierChar(m_src[m_pos - 1]))) {
                skipCharLiteral();
            } else if (isIdentifierChar(c) && !std::isdigit(static_cast<unsigned char>(c))) {
                const std::size_t start = m_pos;
                while (m_pos < m_src.size() && isIdentifierChar(m_src[m_pos]))
                    ++m_pos;
                const std::string_view word = m_src.substr(start, m_pos - start);
                if (word == "PL" || word == "translate")
                    takeCall(start);
                else if (word == "R" && m_pos < m_src.size() && m_src[m_pos] == '"')
                    skipRawLiteral();
            } else {
                ++m_pos;
            }
        }
        return m_found;
    }

    // Every string literal met by scan(), adjacent ones joined.
    const std::set<std::string>& literals() const { return m_literals; }

private:
    static bool isIdentifierChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    }
    bool startsWith(std::string_view s) const { return m_src.substr(m_pos, s.size()) == s; }
    void skipTo(std::string_view end) {
        const std::size_t at = m_src.find(end, m_pos);
        m_pos = at == std::string_view::npos ? m_src.size() : at;
    }
    void skipSpace() {
        while (m_pos < m_src.size() && std::isspace(static_cast<unsigned char>(m_src[m_pos])))
            ++m_pos;
    }
    int lineAt(std::size_t pos) const {
        return 1 + static_cast<int>(std::count(m_src.begin(), m_src.begin() + pos, '\n'));
    }

    void takeCall(std::size_t wordStart) {
        const std::size_t resume = m_pos;
        skipSpace();
        if (m_pos >= m_src.size() || m_src[m_pos] != '(') {
            m_pos = resume;
            return;
        }
        ++m_pos;
        std::string text;
        bool any = false;
        for (;;) {
            skipSpace();
            if (startsWith("u8\""))
                m_pos += 2;
            if (m_pos >= m_src.size() || m_src[m_pos] != '"')
                break;
            text += readLiteral();
            any = true;
        }
        if (any && m_pos < m_src.size() && m_src[m_pos] == ')')
            m_found.push_back({text, m_file + ":" + std::to_string(lineAt(wordStart))});
        m_pos = resume; // the literals are skipped again by the main loop
    }

    // At an opening quote; the value of it and the literals right after it.
    std::string readAdjacentLiterals() {
        std::string text = readLiteral();
        for (;;) {
            const std::size_t resume = m_pos;
            skipSpace();
            if (startsWith("u8\""))
                m_pos += 2;
            if (m_pos >= m_src.size() || m_src[m_pos] != '"') {
                m_pos = resume;
                return text;
            }
            text += readLiteral();
        }
    }

    // At the opening quote; returns the literal's value and leaves m_pos after the closing one.
    std::string readLiteral() {
        std::string value;
        ++m_pos;
        while (m_pos < m_src.size() && m_src[m_pos] != '"' && m_src[m_pos] != '\n') {
            if (m_src[m_pos] != '\\') {
                value += m_src[m_pos++];
                continue;
            }
            ++m_pos;
            if (m_pos >= m_src.size())
                break;
            const char e = m_src[m_pos++];
            switch (e) {
            case 'n':
                value += '\n';
                break;
            case 't':
                value += '\t';
                break;
            case 'r':
                value += '\r';
                break;
            case 'a':
                value += '\a';
                break;
            case 'b':
                value += '\b';
                break;
            case 'f':
                value += '\f';
                break;
            case 'v':
                value += '\v';
                break;
            case 'x':
                value += static_cast<char>(readNumber(16, 2));
                break;
            case 'u':
                appendUtf8(value, readNumber(16, 4));
                break;
            case 'U':
                appendUtf8(value, readNumber(16, 8));
                break;
            default:
                if (e >= '0' && e <= '7') {
                    --m_pos;
                    value += static_cast<char>(readNumber(8, 3));
                } else {
                    value += e; // \" \' \\ \?
                }
            }
        }
        ++m_pos;
        return value;
    }

    char32_t readNumber(int base, int maxDigits) {
        char32_t value = 0;
        for (int n = 0; n < maxDigits && m_pos < m_src.size(); ++n, ++m_pos) {
            const char c =
                static_cast<char>(std::tolower(static_cast<unsigned char>(m_src[m_pos])));
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : 99;
            if (digit >= base)
                break;
            value = value * base + digit;
        }
        return value;
    }

    void skipCharLiteral() {
        ++m_pos;
        while (m_pos < m_src.size() && m_src[m_pos] != '\'' && m_src[m_pos] != '\n')
            m_pos += m_src[m_pos] == '\\' ? 2 : 1;
        ++m_pos;
    }

    void skipRawLiteral() {
        const std::size_t open = m_src.find('(', m_pos);
        if (open == std::string_view::npos) {
            m_pos = m_src.size();
            return;
        }
        const std::string close =
            ")" + std::string(m_src.substr(m_pos + 1, open - m_pos - 1)) + "\"";
        m_pos = open;
        skipTo(close);
        m_pos += close.size();
    }

    std::string_view m_src;
    std::string m_file;
    std::size_t m_pos = 0;
    std::vector<SSourceText> m_found;
    std::set<std::string> m_literals;
};

struct SProgramTexts {
    std::vector<SSourceText> translated; // passed to translation as literals
    std::set<std::string> literals;      // every literal, the translated ones included
};

SProgramTexts scanProgramSources() {
    SProgramTexts found;
    for (const char* top : {"src", "tools"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / top)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h" && ext != ".hpp"))
                continue;
            const std::string relative = fs::relative(entry.path(), kSourceDir).string();
            const std::string source = readFile(entry.path());
            CSourceScanner scanner(source, relative);
            const auto texts = scanner.scan();
            found.translated.insert(found.translated.end(), texts.begin(), texts.end());
            found.literals.insert(scanner.literals().begin(), scanner.literals().end());
        }
    }
    return found;
}

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::vector<fs::path> languageSources() {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(kEnglishSource.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 9 && name.ends_with(".utf8.txt"))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct SEntry {
    int line;
    std::string rawPolishAndContext; // columns 1-2 as written
    std::string polish;              // unescaped
    std::string context;
    std::string translation; // unescaped
};

// The entries of a language source; lines without exactly two TABs go to faults.
std::vector<SEntry> readEntries(const std::string& source, std::vector<std::string>& faults) {
    std::vector<SEntry> entries;
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        const std::size_t end = std::min(source.find('\n', start), source.size());
        const std::string_view line =
            withoutLineEnd(std::string_view(source).substr(start, end - start));
        start = end + 1;
        ++number;
        if (std::count(line.begin(), line.end(), '\t') != 2) {
            faults.push_back("line " + std::to_string(number) +
                             ": needs exactly two TABs: " + std::string(line));
            continue;
        }
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        entries.push_back({number, std::string(line.substr(0, tab2)),
                           unescapeField(line.substr(0, tab1)),
                           std::string(line.substr(tab1 + 1, tab2 - tab1 - 1)),
                           unescapeField(line.substr(tab2 + 1))});
    }
    return entries;
}

// The printf conversions (%d, %.2f, %01d, %%, ...) and Qt placeholders (%1) of a text, in
// order. The space flag is left out: labels such as "1 % emulacji" are plain percent signs.
std::vector<std::string> formatDirectives(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string_view::npos;
         at = text.find('%', at + 1)) {
        std::size_t pos = at + 1;
        const auto skip = [&](std::string_view set) {
            while (pos < text.size() && set.find(text[pos]) != std::string_view::npos)
                ++pos;
        };
        skip("-+#0");
        const bool bare = pos == at + 1;
        skip("0123456789");
        const std::size_t digitsEnd = pos;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            skip("0123456789");
        }
        skip("hlLqjzt");
        const bool conversion =
            pos < text.size() &&
            std::string_view("diouxXfFeEgGaAcsp%").find(text[pos]) != std::string_view::npos;
        if (conversion) {
            found.emplace_back(text.substr(at, pos + 1 - at));
            at = pos;
        } else if (bare && digitsEnd > at + 1 && text[at + 1] != '0') {
            found.emplace_back(text.substr(at, digitsEnd - at));
        }
    }
    return found;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts)
        out += part + " ";
    return out;
}

} // namespace

TEST(LanguageFileCompleteness, ScannerFindsMarkedLiteralsOnly) {
    const auto found = CSourceScanner(R"src(
        // PL("in a comment") is not code
        /* translate("nor this") */
        #define PL(text) text
        auto a = PL("Błąd \"x\"\n\t\x41\101\u0142");
        auto b = translate(  "Jeden "
                             "dwa");
        auto c = translate(std::string("built") + x);
        auto d = retranslate("other"); char q = '"'; auto e = 1'000;
        auto f = torva::translate(u8"Zażółć");
    )src",
                                      "snippet.cpp")
                           .scan();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].text, "Błąd \"x\"\n\tAAł");
    EXPECT_EQ(found[0].where, "snippet.cpp:5");
    EXPECT_EQ(found[1].text, "Jeden dwa");
    EXPECT_EQ(found[2].text, "Zażółć");
}

TEST(LanguageFileCompleteness, EveryLanguageSourceIsWellFormedAndFollowsTheEnglishLines) {
    // Columns 1-2 of each English line, and the line they are on.
    std::map<std::string, int> englishLines;
    {
        std::vector<std::string> ignored;
        for (const SEntry& entry : readEntries(readFile(kEnglishSource), ignored))
            englishLines.try_emplace(entry.rawPolishAndContext, entry.line);
    }
    ASSERT_FALSE(englishLines.empty()) << kEnglishSource;
    for (const fs::path& path : languageSources()) {
        SCOPED_TRACE(path.filename().string());
        const std::string source = readFile(path);
        EXPECT_NO_THROW(encodeLanguageFile(source)) << "not UTF-8";
        std::vector<std::string> faults;
        std::map<std::string, int> firstLine;
        std::set<int> englishMet;
        int lastEnglish = 0;
        for (const SEntry& entry : readEntries(source, faults)) {
            const std::string where = "line " + std::to_string(entry.line) + ": ";
            if (entry.polish.empty() || entry.translation.empty())
                faults.push_back(where + "empty Polish text or translation");
            const auto [it, fresh] = firstLine.try_emplace(entry.polish, entry.line);
            if (!fresh)
                faults.push_back(where + "repeats line " + std::to_string(it->second));
            const auto english = englishLines.find(entry.rawPolishAndContext);
            if (english == englishLines.end()) {
                faults.push_back(where + "Polish text and context are on no ENGLISH line");
                continue;
            }
            if (english->second < lastEnglish)
                faults.push_back(where + "out of ENGLISH's line order");
            lastEnglish = english->second;
            englishMet.insert(english->second);
        }
        for (const auto& [columns, line] : englishLines) {
            if (!englishMet.contains(line))
                faults.push_back("no line for ENGLISH line " + std::to_string(line) + ": " +
                                 columns);
        }
        for (const std::string& fault : faults)
            ADD_FAILURE() << fault;
    }
}

TEST(LanguageFileCompleteness, EveryLanguageCoversExactlyTheTextsTheProgramShows) {
    const auto [texts, literals] = scanProgramSources();
    ASSERT_GT(texts.size(), 50u) << "the scan found too few texts to be working";
    for (const fs::path& path : languageSources()) {
        SCOPED_TRACE(path.filename().string());
        const std::string source = readFile(path);
        CLangFile file;
        file.load(encodeLanguageFile(source));
        for (const SSourceText& text : texts) {
            if (!file.find(text.text))
                ADD_FAILURE() << text.where << ": no entry for \"" << escapeField(text.text)
                              << "\"";
        }
        std::vector<std::string> faults;
        for (const SEntry& entry : readEntries(source, faults)) {
            if (!literals.contains(entry.polish))
                ADD_FAILURE() << "line " << entry.line << ": the program no longer shows \""
                              << escapeField(entry.polish) << "\" (" << entry.context << ")";
        }
    }
}

TEST(LanguageFileCompleteness, TranslationsKeepTheSourcesDirectivesAndEscapes) {
    for (const fs::path& path : languageSources()) {
        SCOPED_TRACE(path.filename().string());
        std::vector<std::string> faults;
        for (const SEntry& entry : readEntries(readFile(path), faults)) {
            const auto polish = formatDirectives(entry.polish);
            const auto translation = formatDirectives(entry.translation);
            EXPECT_EQ(joined(polish), joined(translation))
                << "line " << entry.line << ": format directives differ";
            for (const char escaped : {'\n', '\t', '\\'}) {
                EXPECT_EQ(std::count(entry.polish.begin(), entry.polish.end(), escaped),
                          std::count(entry.translation.begin(), entry.translation.end(), escaped))
                    << "line " << entry.line << ": count of " << escapeField({&escaped, 1})
                    << " differs";
            }
        }
    }
}

// Characters, not bytes: a Greek or Thai letter takes two or three bytes.
std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size() && nextUtf8CodePoint(text, pos);)
        ++count;
    return count;
}

TEST(LanguageFileCompleteness, TranslationsKeepLpgAndFitTheirFixedWidthPlaces) {
    std::map<std::string, std::string> english; // columns 1-2 -> English text
    {
        std::vector<std::string> ignored;
        for (const SEntry& entry : readEntries(readFile(kEnglishSource), ignored))
            english.try_emplace(entry.rawPolishAndContext, entry.translation);
    }
    for (const fs::path& path : languageSources()) {
        SCOPED_TRACE(path.filename().string());
        std::vector<std::string> faults;
        for (const SEntry& entry : readEntries(readFile(path), faults)) {
            // A CNG installation shows the first "LPG" as "CNG": a translation without it would
            // name the wrong fuel to every CNG fitter.
            if (entry.polish.find("LPG") != std::string::npos) {
                EXPECT_NE(entry.translation.find("LPG"), std::string::npos)
                    << "line " << entry.line << ": \"" << entry.translation << "\" lost \"LPG\"";
            }
            // Gauge captions and check boxes have the room of their English text, not more
            // than twice over.
            const bool fixedWidth = entry.context.find("gauge") != std::string::npos ||
                                    entry.context.find("check box") != std::string::npos;
            const auto reference = english.find(entry.rawPolishAndContext);
            if (fixedWidth && reference != english.end()) {
                EXPECT_LE(characterCount(entry.translation), 2 * characterCount(reference->second))
                    << "line " << entry.line << ": \"" << entry.translation
                    << "\" is too long for its place";
            }
        }
    }
}

TEST(LanguageFileCompleteness, BuildShipsEveryLanguageSourceBesideTheExecutables) {
    const fs::path shipped = fs::path(TORVA_BINARY_DIR) / "bin" / "DIESEL_LANG";
    const auto sources = languageSources();
    EXPECT_GE(sources.size(), 1u);
    for (const fs::path& source : sources) {
        const std::string name = source.filename().string();
        const fs::path output = shipped / (name.substr(0, name.size() - 9) + ".txt");
        EXPECT_EQ(readFile(output), encodeLanguageFile(readFile(source))) << output;
    }
}
