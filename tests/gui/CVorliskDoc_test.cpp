// The log document in the running program: new logs from the template,
// byte-exact open and save, the end-of-log line, the save prompts, and what
// every failure shows.
#include "AppFixture.h"

#include "frame/CMainFrame.h"
#include "log/LogLimits.h"

#include <QFileInfo>
#include <sys/stat.h>

using namespace std::string_literals;

namespace {
const std::string kLine = "QSO:  7000 CW 2004-04-10 2200 OK1ABC        599 001    DL1XYZ        599 001    0\r\n";

class DocTest : public AppFixture {};
} // namespace

TEST_F(DocTest, ANewLogIsTheHeaderTemplateOfTheWorkingFolder)
{
    WriteFile(Path("cabrhdr.txt"), "START-OF-LOG: 3.0\nCONTEST: TEST");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Text(), "START-OF-LOG: 3.0\r\nCONTEST: TEST\r\n");
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "Untitled - Vorlisk");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(Doc().GetPathName().empty());
}

TEST_F(DocTest, SavingANewLogAsksForANameAndAddsTheEndOfLogLineOnce)
{
    WriteFile(Path("cabrhdr.txt"), "HEADER\n");
    ASSERT_TRUE(Start());
    app.View()->AppendAtEnd(kLine);
    EXPECT_TRUE(Doc().IsModified());

    const std::string target = Path("logs/contest.log");
    QDir().mkpath(QString::fromStdString(Path("logs")));
    dialogs.saveAnswers.push_back(QString::fromStdString(target));
    app.OnFileSave();

    ASSERT_EQ(dialogs.saveProposals.size(), 1u);
    EXPECT_EQ(dialogs.saveProposals[0], "Untitled");
    EXPECT_EQ(ReadFile(target), "HEADER\r\n" + kLine + "END-OF-LOG:\r\n");
    EXPECT_EQ(Text(), ReadFile(target)) << "the view shows the added line";
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().GetTitle(), "contest.log");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "contest.log - Vorlisk");
    EXPECT_EQ(QDir::currentPath().toStdString(), Path("logs")) << "the working folder follows the chosen file";
    ASSERT_FALSE(app.RecentFiles().Entries().empty());
    EXPECT_EQ(app.RecentFiles().Entries()[0], target);

    // Saving again rewrites the file unchanged, without asking.
    app.OnFileSave();
    EXPECT_EQ(dialogs.saveProposals.size(), 1u);
    EXPECT_EQ(ReadFile(target), "HEADER\r\n" + kLine + "END-OF-LOG:\r\n");
    EXPECT_TRUE(messages.empty());
}

TEST_F(DocTest, OpenAndSaveKeepEveryByte)
{
    const std::string samples[] = {
        "CR LF\r\nEND-OF-LOG:\r\n"s,
        "LF only\nEND-OF-LOG:\n"s,
        "lone CR\rEND-OF-LOG:\rmixed\r\n\n"s,
        "NUL\0 inside END-OF-LOG:\0"s,
        "invalid \xff\xfe\xc3 UTF-8 END-OF-LOG:"s,
        "Ctrl-Z \x1a then END-OF-LOG: no final newline"s,
        "marker then lines\r\nEND-OF-LOG:\r\nQSO: after\r\n"s,
    };
    ASSERT_TRUE(Start());
    int n = 0;
    for (const std::string& bytes : samples) {
        const std::string path = Path("log" + std::to_string(n++));
        WriteFile(path, bytes);
        dialogs.openAnswers.push_back(QString::fromStdString(path));
        app.OnFileOpen();
        EXPECT_EQ(Text(), bytes);
        EXPECT_FALSE(Doc().IsModified());
        app.OnFileSave();
        EXPECT_EQ(ReadFile(path), bytes);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DocTest, AFileWithoutTheMarkerGetsItAppendedOnSave)
{
    ASSERT_TRUE(Start());
    const std::string path = Path("nomarker.log");
    WriteFile(path, "HEADER\nlast line without end");
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    app.OnFileOpen();
    EXPECT_EQ(Text(), "HEADER\nlast line without end") << "opening adds nothing";
    app.OnFileSave();
    EXPECT_EQ(ReadFile(path), "HEADER\nlast line without endEND-OF-LOG:\r\n");
}

TEST_F(DocTest, TheSizeLimitHoldsWhenOpening)
{
    WriteFile(Path("cabrhdr.txt"), "TEMPLATE\n");
    ASSERT_TRUE(Start());
    const std::string fits = Path("fits.log");
    const std::string tooLarge = Path("toolarge.log");
    WriteFile(fits, std::string(kMaxLogBytes, 'x'));
    WriteFile(tooLarge, std::string(kMaxLogBytes + 1, 'x'));

    dialogs.openAnswers.push_back(QString::fromStdString(fits));
    app.OnFileOpen();
    EXPECT_EQ(app.View()->Text().size(), kMaxLogBytes);
    EXPECT_TRUE(messages.empty());

    dialogs.openAnswers.push_back(QString::fromStdString(tooLarge));
    app.OnFileOpen();
    EXPECT_EQ(messages, std::vector<std::string>{"The file is too large to open."});
    EXPECT_EQ(Text(), "TEMPLATE\r\n") << "a new log replaces the old one";
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_TRUE(Doc().GetPathName().empty());
}

TEST_F(DocTest, AFileThatCannotBeOpenedLeavesTheLogAsItWas)
{
    ASSERT_TRUE(Start());
    app.View()->AppendAtEnd(kLine);
    const std::string missing = "no/such/file.log";
    dialogs.openAnswers.push_back(QString::fromStdString(missing));
    answers.push_back(MessageAnswer::No); // the save prompt
    app.OnFileOpen();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "no/such/file.log was not found.");
    EXPECT_EQ(Text(), kLine);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocTest, AnEmptyFileOpensAsAnEmptyLogWithItsName)
{
    WriteFile(Path("cabrhdr.txt"), "TEMPLATE\n");
    ASSERT_TRUE(Start());
    WriteFile(Path("empty.log"), "");
    dialogs.openAnswers.push_back(QString::fromStdString(Path("empty.log")));
    app.OnFileOpen();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Doc().GetTitle(), "empty.log");
}

TEST_F(DocTest, OpeningTheOpenLogAgainChangesNothing)
{
    ASSERT_TRUE(Start());
    const std::string path = Path("open.log");
    WriteFile(path, "ON DISK\r\n");
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    app.OnFileOpen();
    app.View()->AppendAtEnd(kLine);
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    app.OnFileOpen();
    EXPECT_TRUE(messages.empty()) << "no save prompt";
    EXPECT_EQ(Text(), "ON DISK\r\n" + kLine);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocTest, TheSavePromptGuardsNewOpenAndExit)
{
    enum class Action { New, Open, Close };
    struct Case {
        Action action;
        MessageAnswer answer;
        bool proceeds;
    };
    const Case cases[] = {
        {Action::New, MessageAnswer::No, true},    {Action::New, MessageAnswer::Cancel, false},
        {Action::Open, MessageAnswer::No, true},   {Action::Open, MessageAnswer::Cancel, false},
        {Action::Close, MessageAnswer::No, true},  {Action::Close, MessageAnswer::Cancel, false},
    };
    WriteFile(Path("cabrhdr.txt"), "TEMPLATE\n");
    WriteFile(Path("other.log"), "OTHER\r\n");
    ASSERT_TRUE(Start());
    app.MainFrame()->show();
    for (const Case& c : cases) {
        const std::string label = "case " + std::to_string(&c - cases);
        app.OnFileNew(); // an unmodified untitled log to start from
        app.View()->AppendAtEnd("EDITED\r\n");
        messages.clear();
        answers = {c.answer};
        bool closed = false;
        switch (c.action) {
        case Action::New: app.OnFileNew(); break;
        case Action::Open:
            dialogs.openAnswers.push_back(QString::fromStdString(Path("other.log")));
            app.OnFileOpen();
            break;
        case Action::Close: closed = app.MainFrame()->close(); break;
        }
        EXPECT_EQ(messages, std::vector<std::string>{"Save changes to Untitled?"}) << label;
        if (c.action == Action::Close) {
            EXPECT_EQ(closed, c.proceeds) << label;
            app.MainFrame()->show();
        } else if (c.proceeds) {
            EXPECT_NE(Text(), "TEMPLATE\r\nEDITED\r\n") << label;
            EXPECT_FALSE(Doc().IsModified()) << label;
        } else {
            EXPECT_EQ(Text(), "TEMPLATE\r\nEDITED\r\n") << label;
            EXPECT_TRUE(Doc().IsModified()) << label;
        }
        Doc().SetModifiedFlag(false);
    }
}

TEST_F(DocTest, YesSavesFirstAndCancellingTheSaveCancelsTheNewLog)
{
    ASSERT_TRUE(Start());
    app.View()->AppendAtEnd(kLine);
    answers = {MessageAnswer::Yes};
    dialogs.saveAnswers.push_back(std::nullopt); // Cancel in Save As
    app.OnFileNew();
    EXPECT_EQ(Text(), kLine);
    EXPECT_TRUE(Doc().IsModified());

    answers = {MessageAnswer::Yes};
    dialogs.saveAnswers.push_back(QString::fromStdString(Path("saved.log")));
    app.OnFileNew();
    EXPECT_EQ(ReadFile(Path("saved.log")), kLine + "END-OF-LOG:\r\n");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
}

TEST_F(DocTest, SaveAsksForANameWhenTheFileVanishedOrIsReadOnly)
{
    ASSERT_TRUE(Start());
    const std::string path = Path("vanishing.log");
    WriteFile(path, "LOG\r\n");
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    app.OnFileOpen();

    std::remove(path.c_str());
    dialogs.saveAnswers.push_back(std::nullopt);
    app.OnFileSave();
    ASSERT_EQ(dialogs.saveProposals.size(), 1u);
    EXPECT_EQ(dialogs.saveProposals[0].toStdString(), path) << "the current path is proposed";

    WriteFile(path, "LOG\r\n");
    chmod(path.c_str(), 0444);
    dialogs.saveAnswers.push_back(std::nullopt);
    app.OnFileSave();
    EXPECT_EQ(dialogs.saveProposals.size(), 2u);
    EXPECT_EQ(ReadFile(path), "LOG\r\n");
}

TEST_F(DocTest, AFailedSaveTellsWhyAndKeepsTheOldFileAndTheChanges)
{
    ASSERT_TRUE(Start());
    // The chosen name is a folder: it cannot be replaced by a file.
    QDir().mkdir(QString::fromStdString(Path("folder.log")));
    app.View()->AppendAtEnd(kLine);
    dialogs.saveAnswers.push_back(QString::fromStdString(Path("folder.log")));
    app.OnFileSaveAs();
    EXPECT_EQ(messages, std::vector<std::string>{"Access to " + Path("folder.log") + " was denied."});
    EXPECT_TRUE(QFileInfo(QString::fromStdString(Path("folder.log"))).isDir());
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Doc().GetPathName().empty());

    // A folder that does not exist.
    messages.clear();
    dialogs.saveAnswers.push_back(QString::fromStdString(Path("missing/new.log")));
    app.OnFileSaveAs();
    EXPECT_EQ(messages, std::vector<std::string>{Path("missing/new.log") + " was not found."});
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocTest, ALogTooLargeToOpenAgainIsNotSaved)
{
    ASSERT_TRUE(Start());
    const std::string path = Path("full.log");
    const std::string bytes(kMaxLogBytes, 'x'); // no marker: saving would add 13 bytes
    WriteFile(path, bytes);
    dialogs.openAnswers.push_back(QString::fromStdString(path));
    app.OnFileOpen();
    app.OnFileSave();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("too large to save"), std::string::npos);
    EXPECT_EQ(ReadFile(path), bytes);
}
