// The log view: bytes in and out exactly, plain edit-control keys, the Add QSO
// key, the typing limit and the change notifications.
#include "log/LogLimits.h"
#include "view/CVorliskView.h"

#include <QFontDatabase>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {
// A log-like text of exactly `size` bytes: short lines, as real logs have.
std::string LogOfSize(std::size_t size)
{
    std::string text;
    text.reserve(size);
    while (text.size() + 80 <= size)
        text += std::string(78, 'a') + "\r\n";
    text += std::string(size - text.size(), 'a');
    return text;
}

void TypeText(QWidget* widget, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(600, 400);
        view.show();
        view.setFocus();
        QApplication::processEvents();
    }

    std::string Text() const { return std::string(view.Text()); }

    CVorliskView view;
};
} // namespace

TEST_F(ViewTest, TextGoesInAndComesOutByteForByte)
{
    const std::string samples[] = {
        ""s,
        "QSO: line\r\n"s,
        "LF only\nand lone CR\rmixed\r\n"s,
        "NUL\0inside\0\0"s,
        "invalid UTF-8 \xff\xfe\xc3 and Ctrl-Z \x1a end"s,
        LogOfSize(300000),
    };
    for (const std::string& sample : samples) {
        view.ReplaceAll(sample);
        EXPECT_EQ(Text(), sample);
    }
}

TEST_F(ViewTest, ReplacingWithALongerOrShorterTextOfTheSameStartIsExact)
{
    view.ReplaceAll("HEADER\r\nQSO: 1\r\nEND-OF-LOG:\r\nQSO: 2\r\n");
    view.ReplaceAll("HEADER\r\nQSO: 1\r\n");
    EXPECT_EQ(Text(), "HEADER\r\nQSO: 1\r\n");
    view.ReplaceAll("HEADER\r\nQSO: 1\r\nEND-OF-LOG:\r\n");
    EXPECT_EQ(Text(), "HEADER\r\nQSO: 1\r\nEND-OF-LOG:\r\n");
    view.ReplaceAll("");
    EXPECT_EQ(Text(), "");
}

TEST_F(ViewTest, ReplacingTheTextIsNoEditAndCannotBeUndone)
{
    QSignalSpy modified(&view, &CVorliskView::ModifiedByUser);
    view.ReplaceAll("template\r\n");
    EXPECT_EQ(modified.count(), 0);
    EXPECT_FALSE(view.CanUndo());
}

TEST_F(ViewTest, AppendingPutsTheLineAtTheEndAndMarksTheLogModified)
{
    view.ReplaceAll("HEADER\r\nno line end");
    QSignalSpy modified(&view, &CVorliskView::ModifiedByUser);
    view.AppendAtEnd("QSO: x\r\n");
    EXPECT_EQ(Text(), "HEADER\r\nno line endQSO: x\r\n");
    EXPECT_EQ(modified.count(), 1);
    EXPECT_FALSE(view.CanUndo()) << "an appended contact line is not an undo step";
    // The caret follows the appended line: typing continues after it.
    QTest::keyClicks(&view, "Z");
    EXPECT_EQ(Text(), "HEADER\r\nno line endQSO: x\r\nZ");
}

TEST_F(ViewTest, TypingMarksTheLogModifiedOnceUntilTheNextSavePoint)
{
    view.ReplaceAll("abc");
    QSignalSpy modified(&view, &CVorliskView::ModifiedByUser);
    QTest::keyClicks(&view, "xy");
    EXPECT_EQ(modified.count(), 1);
    view.SetSavePoint();
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(modified.count(), 2);
    EXPECT_TRUE(view.CanUndo());
    view.Undo();
    EXPECT_EQ(Text(), "xyabc");
}

TEST_F(ViewTest, EnterTypesCrLfAndKeepsOtherLineEndsAsTheyAre)
{
    view.ReplaceAll("a\nb\rc");
    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Text(), "a\r\n\r\n\nb\rc");
}

TEST_F(ViewTest, PlusTypesAPlusWhileKeypadPlusAsksForAddQso)
{
    view.ReplaceAll("");
    QSignalSpy addQso(&view, &CVorliskView::AddQsoKey);
    QTest::keyClick(&view, Qt::Key_Plus, Qt::NoModifier);
    QTest::keyClick(&view, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Text(), "+");
    EXPECT_EQ(addQso.count(), 1);
}

TEST_F(ViewTest, TabTypesATabCharacter)
{
    view.ReplaceAll("");
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(Text(), "\t");
}

TEST_F(ViewTest, TheEditorsExtraKeysDoNothing)
{
    // Select all, duplicate line, cut and delete line, transpose, case
    // changes, redo, zoom, word deletion: none belong to a plain edit control.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {Qt::Key_A, Qt::ControlModifier},          {Qt::Key_D, Qt::ControlModifier},
        {Qt::Key_L, Qt::ControlModifier},          {Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_T, Qt::ControlModifier},          {Qt::Key_U, Qt::ControlModifier},
        {Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Y, Qt::ControlModifier},          {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Plus, Qt::ControlModifier},       {Qt::Key_Minus, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::ControlModifier},  {Qt::Key_Delete, Qt::ControlModifier},
        {Qt::Key_F, Qt::ControlModifier},          {Qt::Key_H, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::NoModifier},          {Qt::Key_Escape, Qt::NoModifier},
    };
    for (const auto& k : keys) {
        view.ReplaceAll("one two\r\nthree\r\n");
        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, k.key, k.modifiers);
        EXPECT_EQ(Text(), "one two\r\nthree\r\n") << QKeySequence(k.key | k.modifiers).toString().toStdString();
        EXPECT_FALSE(view.HasSelection()) << QKeySequence(k.key | k.modifiers).toString().toStdString();
    }
}

TEST_F(ViewTest, TypingStopsAtTheLimitAndKeepsRoomForTheEndOfLogLine)
{
    const std::size_t limit = kMaxLogBytes - kEndOfLogLine.size();
    view.ReplaceAll(LogOfSize(limit - 2));
    QSignalSpy full(&view, &CVorliskView::TextLimitReached);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&view, "xyz");
    EXPECT_EQ(view.Text().size(), limit);
    EXPECT_EQ(Text().substr(limit - 2), "xy");
    EXPECT_EQ(full.count(), 1);

    // With the marker present the whole limit is open to typing.
    view.ReplaceAll("END-OF-LOG:" + LogOfSize(kMaxLogBytes - 12));
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&view, "xyz");
    EXPECT_EQ(view.Text().size(), kMaxLogBytes);
}

TEST_F(ViewTest, WhatDoesNotFitIsRefusedWholeAndSaidSo)
{
    const std::size_t limit = kMaxLogBytes - kEndOfLogLine.size();
    view.ReplaceAll(LogOfSize(limit - 1));
    QSignalSpy full(&view, &CVorliskView::TextLimitReached);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    TypeText(&view, QString::fromUtf8("\xc3\xa9")); // two bytes, one byte of room
    QTest::keyClick(&view, Qt::Key_Return);                  // CR LF, the same
    EXPECT_EQ(view.Text().size(), limit - 1);
    EXPECT_EQ(full.count(), 2);
    // Deleting is always possible, and makes room again.
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(view.Text().size(), limit);
    EXPECT_EQ(Text().substr(limit - 2), "\r\n");
}

TEST_F(ViewTest, SelectionAndUndoStateFollowTheEdits)
{
    view.ReplaceAll("abc");
    EXPECT_FALSE(view.HasSelection());
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(view.HasSelection());
    view.Cut();
    EXPECT_EQ(Text(), "bc");
    EXPECT_TRUE(view.CanUndo());
    view.Paste();
    EXPECT_EQ(Text(), "abc");
}

TEST_F(ViewTest, TheFixedPitchSystemFontIsSetAgainOnEveryInitialUpdate)
{
    const auto editorFont = [this] {
        char name[256] = {};
        view.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, QsciScintillaBase::STYLE_DEFAULT, name);
        return QString::fromUtf8(name);
    };
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    EXPECT_EQ(view.ViewFont().family(), fixed.family());
    view.SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, QsciScintillaBase::STYLE_DEFAULT, "Serif");
    view.OnInitialUpdate();
    EXPECT_EQ(editorFont(), fixed.family());
    EXPECT_EQ(view.SendScintilla(QsciScintillaBase::SCI_GETTABWIDTH), 8);
    EXPECT_EQ(view.SendScintilla(QsciScintillaBase::SCI_GETWRAPMODE), QsciScintillaBase::SC_WRAP_WORD);
}
