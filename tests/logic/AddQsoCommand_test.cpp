#include "qso/AddQsoCommand.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "log/LogLimits.h"
#include "log/MemoryTextHolder.h"

namespace {

// An entry dialog played by a script: each pass records the values the
// dialog was opened with, lets the "operator" change them, and answers.
class ScriptedDialog : public QsoEntryDialog {
public:
    using Step = std::function<int(QsoRecord&)>;

    explicit ScriptedDialog(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    QsoRecord& Record() override { return m_record; }

    int Run() override
    {
        m_offered.push_back(m_record);
        if (m_next >= m_steps.size()) {
            ADD_FAILURE() << "the dialog was opened again after the script ended";
            return kQsoDialogCancel;
        }
        return m_steps[m_next++](m_record);
    }

    void ReportLogFull() override { ++m_logFullReports; }

    void SetScript(std::vector<Step> steps)
    {
        m_steps = std::move(steps);
        m_next = 0;
        m_offered.clear();
    }

    const std::vector<QsoRecord>& Offered() const { return m_offered; }
    int LogFullReports() const { return m_logFullReports; }

private:
    QsoRecord m_record;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    std::vector<QsoRecord> m_offered;
    int m_logFullReports = 0;
};

int Add(QsoRecord&) { return kQsoDialogOk; }
int Close(QsoRecord&) { return kQsoDialogCancel; }
int Broken(QsoRecord&) { return kQsoDialogFailed; }

// The operator fills in the other station and presses Add.
ScriptedDialog::Step AddContact(std::string call, std::string obl, std::string nr)
{
    return [=](QsoRecord& r) {
        r.m_strRcvdCall = call;
        r.m_strRcvdObl = obl;
        r.m_strRcvdNr = nr;
        return kQsoDialogOk;
    };
}

const std::string kHeader = "START-OF-LOG: 3.0\r\nCALLSIGN: DL0XX\r\n";

// Column 49, 6 wide: the sent serial number of a line without long fields.
std::string SentSerialColumn(const std::string& line) { return line.substr(48, 6); }

std::vector<std::string> LinesAfter(const std::string& text, std::size_t start)
{
    std::vector<std::string> lines;
    std::size_t at = start;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(AddQsoCommand, EachAddAppendsTheContactAndAdvancesTheSerial)
{
    MemoryTextHolder log(kHeader);
    ScriptedDialog dialog({
        [](QsoRecord& r) {
            r.m_nBand = 3;
            r.m_nMode = 0;
            r.m_strSentCall = "DL0XX";
            r.m_strSentObl = "B";
            r.m_strRcvdCall = "OK1AB";
            r.m_strRcvdObl = "C";
            r.m_strRcvdNr = "12";
            return kQsoDialogOk;
        },
        AddContact("SP2XYZ", "D", "7"),
        AddContact("G4ABC", "", "130"),
        Close,
    });

    RunAddQsoCommand(log, dialog);

    const std::vector<std::string> lines = LinesAfter(log.Str(), kHeader.size());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(log.Str().substr(0, kHeader.size()), kHeader);
    EXPECT_EQ(lines[0] + "\r\n",
              "QSO: 14000 CW 2004-04-10 2200 DL0XX         B   001    OK1AB         C   12     0\r\n");
    EXPECT_EQ(SentSerialColumn(lines[0]), "001   ");
    EXPECT_EQ(SentSerialColumn(lines[1]), "002   ");
    EXPECT_EQ(SentSerialColumn(lines[2]), "003   ");
    EXPECT_NE(lines[1].find("SP2XYZ"), std::string::npos);
    EXPECT_EQ(log.AppendAtEndCalls(), 3);
    EXPECT_TRUE(log.Modified());

    ASSERT_EQ(dialog.Offered().size(), 4u);
    EXPECT_EQ(dialog.Offered()[3].m_strSentNr, "004");
}

TEST(AddQsoCommand, AddWithNothingChosenWritesQuestionMarks)
{
    MemoryTextHolder log;
    ScriptedDialog dialog({Add, Close});

    RunAddQsoCommand(log, dialog);

    EXPECT_EQ(log.Str(),
              "QSO:  ????  ?? 2004-04-10 2200                   001                             0\r\n");
}

// Closing at once: the end-of-log marker and all after it go; a log without a
// marker is not written at all; the cut alone does not mark the log changed.
TEST(AddQsoCommand, CloseAtOnceOnlyCutsTheEndOfLog)
{
    struct Case {
        const char* name;
        std::string before;
        std::string after;
        int writes;
    };
    const Case cases[] = {
        {"marker and lines after it", kHeader + "QSO: a\r\nEND-OF-LOG:\r\nQSO: b\r\n", kHeader + "QSO: a\r\n", 1},
        {"marker inside a header line", "X-NOTE: END-OF-LOG: here\r\nQSO: a\r\n", "X-NOTE: ", 1},
        {"two markers", "A\r\nEND-OF-LOG:\r\nB\r\nEND-OF-LOG:\r\n", "A\r\n", 1},
        {"no marker", kHeader + "QSO: a\r\n", kHeader + "QSO: a\r\n", 0},
        {"lower case is no marker", "end-of-log:\r\n", "end-of-log:\r\n", 0},
        {"empty log", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryTextHolder log(c.before);
        ScriptedDialog dialog({Close});

        RunAddQsoCommand(log, dialog);

        EXPECT_EQ(log.Str(), c.after);
        EXPECT_EQ(log.Writes(), c.writes);
        EXPECT_FALSE(log.Modified());
    }
}

TEST(AddQsoCommand, ValuesCarryOverWithinACommandAndEveryCommandStartsAfresh)
{
    MemoryTextHolder log(kHeader);
    ScriptedDialog dialog({
        [](QsoRecord& r) {
            r = QsoRecord{2, "OK1AB", "2004-05-01", "DL0XX", "5", "C", "041", "B", "1234", 1};
            return kQsoDialogOk;
        },
        // Typed received values are dropped on Close as well.
        [](QsoRecord& r) {
            r.m_strRcvdCall = "LOST";
            r.m_nBand = 4;
            return kQsoDialogCancel;
        },
    });

    RunAddQsoCommand(log, dialog);

    ASSERT_EQ(dialog.Offered().size(), 2u);
    const QsoRecord start = dialog.Offered()[0];
    EXPECT_EQ(start, (QsoRecord{-1, "", "2004-04-10", "", "", "", "001", "", "2200", -1}));
    EXPECT_EQ(start, StartingQsoValues());
    // Everything carries over but the received fields; the serial advances.
    EXPECT_EQ(dialog.Offered()[1], (QsoRecord{2, "", "2004-05-01", "DL0XX", "", "", "042", "B", "1234", 1}));

    // The next command begins from the starting values again, whatever the
    // dialog object still holds.
    dialog.SetScript({Close});
    RunAddQsoCommand(log, dialog);
    ASSERT_EQ(dialog.Offered().size(), 1u);
    EXPECT_EQ(dialog.Offered()[0], StartingQsoValues());
}

TEST(AddQsoCommand, LastLineWithoutLineEndIsJoinedByTheFirstContact)
{
    MemoryTextHolder log("START-OF-LOG: 3.0\r\nCALLSIGN: DL0XX");
    ScriptedDialog dialog({AddContact("OK1AB", "", ""), Close});

    RunAddQsoCommand(log, dialog);

    EXPECT_EQ(log.Str().substr(0, 40), "START-OF-LOG: 3.0\r\nCALLSIGN: DL0XXQSO:  ");
}

TEST(AddQsoCommand, DialogThatCannotBeShownEndsTheCommand)
{
    struct Case {
        const char* name;
        std::vector<ScriptedDialog::Step> script;
        std::size_t lines;
    };
    const Case cases[] = {
        {"at the first opening", {Broken}, 0},
        {"after a contact", {AddContact("OK1AB", "", "1"), Broken}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryTextHolder log(kHeader + "END-OF-LOG:\r\n");
        ScriptedDialog dialog(c.script);

        RunAddQsoCommand(log, dialog);

        EXPECT_EQ(dialog.Offered().size(), c.script.size());
        EXPECT_EQ(LinesAfter(log.Str(), kHeader.size()).size(), c.lines);
    }
}

// A contact is added only while the log, with its end-of-log line, still
// fits the size a log can be opened at.
TEST(AddQsoCommand, LogRoomCountsTheLineAndTheEndOfLogLine)
{
    constexpr std::size_t kEnd = 13;
    struct Case {
        std::size_t text;
        std::size_t line;
        bool room;
    };
    const Case cases[] = {
        {0, 83, true},
        {kMaxLogBytes - kEnd - 83, 83, true},
        {kMaxLogBytes - kEnd - 82, 83, false},
        {kMaxLogBytes - kEnd, 0, true},
        {kMaxLogBytes - kEnd + 1, 0, false},
        {kMaxLogBytes, 83, false},
        {kMaxLogBytes + 500, 83, false}, // already too large: no wrap-around
        {0, static_cast<std::size_t>(-1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << c.text << ", line " << c.line);
        EXPECT_EQ(LogHasRoomFor(c.text, c.line), c.room);
    }
}

TEST(AddQsoCommand, FullLogKeepsTheContactInTheDialog)
{
    const std::size_t line = 83; // a mode chosen and no field longer than its column
    // Room for exactly one more contact, once the old end marker is cut.
    std::string text = kHeader;
    text.resize(kMaxLogBytes - kEndOfLogLine.size() - line - 2, 'x');
    text += "\r\n";
    const std::size_t kept = text.size();
    text += "END-OF-LOG:\r\nQSO: after the marker\r\n";

    MemoryTextHolder log(text);
    ScriptedDialog dialog({
        [](QsoRecord& r) {
            r.m_nBand = 1;
            r.m_nMode = 0;
            r.m_strRcvdCall = "OK1AB";
            return kQsoDialogOk;
        },
        AddContact("SP2XYZ", "D", "7"), // no room: refused, kept in the dialog
        Add,                            // the operator tries again
        Close,
    });

    RunAddQsoCommand(log, dialog);

    EXPECT_EQ(log.Str().size(), kept + line);
    EXPECT_EQ(log.Str().size() + kEndOfLogLine.size(), kMaxLogBytes);
    EXPECT_EQ(log.AppendAtEndCalls(), 1);
    EXPECT_EQ(dialog.LogFullReports(), 2);

    ASSERT_EQ(dialog.Offered().size(), 4u);
    const QsoRecord& retry = dialog.Offered()[2];
    EXPECT_EQ(retry.m_strRcvdCall, "SP2XYZ");
    EXPECT_EQ(retry.m_strRcvdObl, "D");
    EXPECT_EQ(retry.m_strRcvdNr, "7");
    EXPECT_EQ(retry.m_strSentNr, "002");
    EXPECT_EQ(dialog.Offered()[3].m_strSentNr, "002");
}

} // namespace
