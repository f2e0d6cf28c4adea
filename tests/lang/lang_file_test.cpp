#include "lang/lang_file.h"
#include "lang/lang_file_writer.h"
#include "lang/utf16.h"

#include <gtest/gtest.h>

#include <string>

using namespace torva;

namespace {

// Raw UTF-16LE bytes of text after a byte-order mark, with no line-end handling at all.
std::string rawFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

CLangFile loaded(std::string_view bytes) {
    CLangFile file;
    file.load(bytes);
    return file;
}

} // namespace

TEST(LangFile, WriterOutputIsUtf16WithByteOrderMarkAndCrLf) {
    const std::string bytes = encodeLanguageFile("Zapis\tx\tSave\nŁódź\t\tLodz");
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes, rawFile(u"Zapis\tx\tSave\r\n\u0141\u00F3d\u017A\t\tLodz\r\n"));
    EXPECT_THROW(encodeLanguageFile("ok\nbad \xC3\x28"), std::invalid_argument);
}

TEST(LangFile, EntryYieldsItsTranslationWithoutTheLineEnd) {
    const CLangFile file = loaded(encodeLanguageFile("Ciśnienie\tany note\tPressure\n"
                                                     "Obroty\t\tRPM \xF0\x9F\x94\xA7\n"));
    EXPECT_EQ(file.find("Ciśnienie"), "Pressure");
    EXPECT_EQ(file.find("Obroty"), "RPM \xF0\x9F\x94\xA7"); // surrogate pair survives
    EXPECT_EQ(file.find("ciśnienie"), std::nullopt);        // case matters
    EXPECT_EQ(file.find("Ciśnienie "), std::nullopt);       // so does length
}

TEST(LangFile, EscapesInFirstAndThirdFieldsAreUnescaped) {
    const CLangFile file =
        loaded(encodeLanguageFile(languageFileLine("Linia 1\nLinia 2", "n\\ote", "Line 1\nLine 2") +
                                  "\nKol\\tumna\t\\n stays\tCol\\tumn\\r\\x"));
    EXPECT_EQ(file.find("Linia 1\nLinia 2"), "Line 1\nLine 2");
    EXPECT_EQ(file.find("Kol\tumna"), "Col\tumn\r\\x");
}

TEST(LangFile, LastLineWithoutLineEndIsTakenWhole) {
    const CLangFile file = loaded(rawFile(u"A\t\tfirst\r\nB\t\tlast one"));
    EXPECT_EQ(file.find("A"), "first");
    EXPECT_EQ(file.find("B"), "last one");
}

TEST(LangFile, FirstMatchWinsAndIncompleteLinesAreSkipped) {
    const CLangFile file = loaded(encodeLanguageFile("Tak\tno translation field\n"
                                                     "No tab at all\n"
                                                     "Tak\t\tYes\n"
                                                     "Tak\t\tSecond yes\n"
                                                     "Pusty\t\t\n"
                                                     "Taby\t\tA\tB\n"));
    EXPECT_EQ(file.find("Tak"), "Yes");
    EXPECT_EQ(file.find("Pusty"), "");    // an empty translation is a translation
    EXPECT_EQ(file.find("Taby"), "A\tB"); // everything after the second TAB
    EXPECT_EQ(file.find("No tab at all"), std::nullopt);
}

TEST(LangFile, FirstTwoBytesAreSkippedWhateverTheyAre) {
    std::string bytes = rawFile(u"X\t\tY\r\n");
    bytes[0] = 'Q';
    bytes[1] = 'Q';
    EXPECT_EQ(loaded(bytes).find("X"), "Y");
    EXPECT_EQ(loaded("").entryCount(), 0u);
    EXPECT_EQ(loaded("\xFF\xFE"
                     "A")
                  .entryCount(),
              0u); // odd trailing byte ignored
}

TEST(LangFile, OverlongLinesAreReadInPiecesOf2047Units) {
    // A 2047-unit piece ends just before "tail"; the rest of the line is a line of its own.
    const std::u16string head = u"Long\t\t" + std::u16string(2047 - 6, u'x');
    const CLangFile file = loaded(rawFile(head + u"tail\t\tpiece\r\n"));
    EXPECT_EQ(file.find("Long"), utf16ToUtf8(head.substr(6)));
    EXPECT_EQ(file.find("tail"), "piece");

    // A CR LF whose LF is the 2047th unit still ends its line.
    const std::string ys(2047 - 7 - 2, 'y');
    const std::u16string exact = u"Exact\t\t" + utf8ToUtf16(ys) + u"\r\n";
    EXPECT_EQ(loaded(rawFile(exact + u"Next\t\tok")).find("Exact"), ys);
}

TEST(LangFile, OpenReadsAFileAndReportsAMissingOne) {
    CLangFile file;
    EXPECT_FALSE(file.open("/nonexistent/ENGLISH.txt"));
    EXPECT_FALSE(file.isOpen());
}
