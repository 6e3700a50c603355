// Page layout of a printed log: lines, wrapping, tabs and page breaks, with a
// character-counting measure standing in for a fixed-pitch font.
#include "view/PageLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One unit per character (a surrogate pair is one character); a 'W' is two
// units wide, so a case can show that the measure, not the count, decides.
qreal MeasureChars(const QString& s)
{
    qreal width = 0;
    for (const QChar c : s) {
        if (c.isLowSurrogate())
            continue;
        width += c == u'W' ? 2 : 1;
    }
    return width;
}

using Pages = std::vector<std::vector<std::string>>;

Pages Layout(const std::string& text, qreal width, qreal pageHeightInLines)
{
    const PageLayout layout(text, width, pageHeightInLines, 1.0, MeasureChars);
    Pages pages;
    for (int p = 0; p < layout.PageCount(); ++p) {
        std::vector<std::string> lines;
        for (const QString& line : layout.Page(p))
            lines.push_back(line.toStdString());
        pages.push_back(lines);
    }
    return pages;
}

struct LayoutCase {
    const char* name;
    std::string text;
    qreal width;
    qreal pageHeight; // in lines
    Pages expected;
};

TEST(PageLayout, LaysOutLinesAndPages)
{
    const std::vector<LayoutCase> cases = {
        {"short lines stay whole", "QSO: 14000 CW\r\nEND-OF-LOG:\r\n", 20, 10,
         {{"QSO: 14000 CW", "END-OF-LOG:"}}},
        {"wrap at the last blank that fits", "aaa bbb ccc ddd", 9, 10,
         {{"aaa bbb", "ccc ddd"}}},
        {"blank right after a word that fills the width", "abcd efgh", 4, 10,
         {{"abcd", "efgh"}}},
        {"word longer than a line is cut at the width", "ABCDEFGHIJKL xy", 5, 10,
         {{"ABCDE", "FGHIJ", "KL xy"}}},
        {"blanks at the start of a continuation are skipped", "one     two", 5, 10,
         {{"one", "two"}}},
        {"indent of the first piece is kept", "    indented text", 12, 10,
         {{"    indented", "text"}}},
        {"indent before an overlong word is not a break", "   ABCDEFGHIJ", 5, 10,
         {{"   AB", "CDEFG", "HIJ"}}},
        {"blanks at the end of a line make no extra line", "abc      ", 5, 10, {{"abc"}}},
        {"tabs stop every 8 characters", "abc\tdef\r\n12345678\tX\r\n\tY", 40, 10,
         {{"abc     def", "12345678        X", "        Y"}}},
        {"expanded tab counts as blanks for wrapping", "x\tyyyy", 10, 10, {{"x", "yyyy"}}},
        {"empty lines are kept", "a\r\n\r\n\r\nb", 10, 10, {{"a", "", "", "b"}}},
        {"LF and a lone CR end lines too", "a\nb\rc\r\nd", 10, 10, {{"a", "b", "c", "d"}}},
        {"last line end starts no line", "a\r\n", 10, 10, {{"a"}}},
        {"empty last line before the end is kept", "a\r\n\r\n", 10, 10, {{"a", ""}}},
        {"page ends when the next line would pass the bottom", "1\r\n2\r\n3\r\n4\r\n5", 10, 2.9,
         {{"1", "2"}, {"3", "4"}, {"5"}}},
        {"full last page makes no blank page", "1\r\n2\r\n3\r\n4\r\n", 10, 2,
         {{"1", "2"}, {"3", "4"}}},
        {"wrapped pieces fill pages like lines", "aaa bbb ccc", 3, 2, {{"aaa", "bbb"}, {"ccc"}}},
        {"page lower than a line still holds one", "1\r\n2", 10, 0.5, {{"1"}, {"2"}}},
        {"empty text is one blank page", "", 10, 10, {{}}},
        {"invalid bytes and NUL are shown, not dropped", std::string("A\xff\0B", 4), 10, 10,
         {{"A\xEF\xBF\xBD\xE2\x90\x80"
           "B"}}},
        {"measure decides the fit, not the count", "WWW aa", 6, 10, {{"WWW", "aa"}}},
        {"a surrogate pair is never split", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 1, 10,
         {{"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Layout(c.text, c.width, c.pageHeight), c.expected);
    }
}

// On a long run of words every printed line fits, no continuation starts with
// a blank, and apart from the blanks at the breaks no character is lost,
// added or moved.
TEST(PageLayout, WrappingKeepsEveryCharacter)
{
    std::string line;
    for (int i = 0; i < 400; ++i) {
        line += std::string(static_cast<size_t>(1 + (i * 7) % 13), static_cast<char>('a' + i % 26));
        line += std::string(static_cast<size_t>(1 + i % 3), ' ');
    }
    for (const qreal width : {1.0, 7.0, 12.0, 80.0}) {
        SCOPED_TRACE(width);
        const QStringList pieces =
            PageLayout::WrapLine(QString::fromStdString(line), width, MeasureChars);
        QString joined;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            EXPECT_LE(MeasureChars(pieces[i]), width) << pieces[i].toStdString();
            if (i > 0) {
                ASSERT_FALSE(pieces[i].isEmpty());
                EXPECT_NE(pieces[i].front(), u' ');
            }
            joined += pieces[i];
        }
        EXPECT_EQ(joined.remove(u' '), QString::fromStdString(line).remove(u' '));
    }
}

} // namespace
