// Every Polish text the program passes to translation must have an English entry, and the
// English source must be well formed; otherwise an English user meets Polish text.

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
#include <optional>
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
                readLiteral();
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
};

std::vector<SSourceText> scanProgramSources() {
    std::vector<SSourceText> found;
    for (const char* top : {"src", "tools"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / top)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h" && ext != ".hpp"))
                continue;
            const std::string relative = fs::relative(entry.path(), kSourceDir).string();
            auto texts = CSourceScanner(readFile(entry.path()), relative).scan();
            found.insert(found.end(), texts.begin(), texts.end());
        }
    }
    return found;
}

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
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

TEST(LanguageFileCompleteness, EnglishSourceIsWellFormed) {
    const std::string source = readFile(kEnglishSource);
    ASSERT_FALSE(source.empty()) << kEnglishSource;
    std::map<std::string, int> firstLine;
    std::vector<std::string> faults;
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        const std::size_t end = std::min(source.find('\n', start), source.size());
        const std::string_view line =
            withoutLineEnd(std::string_view(source).substr(start, end - start));
        start = end + 1;
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (std::count(line.begin(), line.end(), '\t') != 2) {
            faults.push_back(where + "needs exactly two TABs: " + std::string(line));
            continue;
        }
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab1 == 0 || tab2 + 1 == line.size())
            faults.push_back(where + "empty Polish text or translation: " + std::string(line));
        const std::string polish = unescapeField(line.substr(0, tab1));
        const auto [it, fresh] = firstLine.try_emplace(polish, number);
        if (!fresh)
            faults.push_back(where + "repeats line " + std::to_string(it->second) + ": " + polish);
    }
    EXPECT_NO_THROW(encodeLanguageFile(source)) << "not UTF-8";
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
}

TEST(LanguageFileCompleteness, EveryTranslatedSourceTextHasAnEnglishEntry) {
    CLangFile english;
    english.load(encodeLanguageFile(readFile(kEnglishSource)));
    const auto texts = scanProgramSources();
    ASSERT_GT(texts.size(), 50u) << "the scan found too few texts to be working";
    int missing = 0;
    for (const SSourceText& text : texts) {
        if (!english.find(text.text)) {
            ++missing;
            ADD_FAILURE() << text.where << ": no English entry for \"" << escapeField(text.text)
                          << "\"";
        }
    }
    EXPECT_EQ(missing, 0);
}

TEST(LanguageFileCompleteness, BuildShipsEveryLanguageSourceBesideTheExecutables) {
    const fs::path shipped = fs::path(TORVA_BINARY_DIR) / "bin" / "DIESEL_LANG";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kEnglishSource.parent_path())) {
        const std::string name = entry.path().filename().string();
        const std::string suffix = ".utf8.txt";
        if (name.size() <= suffix.size() || !name.ends_with(suffix))
            continue;
        ++count;
        const fs::path output = shipped / (name.substr(0, name.size() - suffix.size()) + ".txt");
        EXPECT_EQ(readFile(output), encodeLanguageFile(readFile(entry.path()))) << output;
    }
    EXPECT_GE(count, 1);
}
