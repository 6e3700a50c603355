// Bad input where it enters the program: command-line arguments that name
// no readable log, and header templates full of awkward bytes. Each gets a
// clear message or the defined result; nothing hangs, crashes or is lost.
// GCC's optimiser warns falsely about the std::optional<QString> answers
// of the fixture's fake file dialogs in this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "AppFixture.h"

#include "log/HeaderTemplate.h"
#include "log/LogLimits.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace {
class BadInputTest : public AppFixture {};

std::string Expand(std::string pattern, const std::string& path)
{
    if (const auto at = pattern.find("%1"); at != std::string::npos)
        pattern.replace(at, 2, path);
    return pattern;
}
} // namespace

TEST_F(BadInputTest, CommandLineArgumentsThatNameNoLogEndWithAClearMessage)
{
    ::mkdir(Path("folder.log").c_str(), 0755);
    ::mkfifo(Path("pipe.log").c_str(), 0644); // opening it must not wait for a writer
    const std::string longName(300, 'n');           // over the file-name limit
    const std::string longPath = "/" + std::string(5000, 'p') + "/x.log"; // over the path limit
    const std::string invalidUtf8 = Path("log-\xff\xfe-\xc0.log");  // no such file
    const struct {
        std::vector<std::string> args;
        std::string message; // %1 is the path as given
        std::string shownPath;
    } cases[] = {
        {{Path("missing.log")}, "%1 was not found.", Path("missing.log")},
        {{Path("folder.log")}, "Access to %1 was denied.", Path("folder.log")},
        {{Path("pipe.log")}, "Access to %1 was denied.", Path("pipe.log")},
        {{"/dev/null"}, "Access to %1 was denied.", "/dev/null"},
        {{"/dev/zero"}, "Access to %1 was denied.", "/dev/zero"},
        {{Path(longName)}, "%1 contains an invalid path.", Path(longName)},
        {{longPath}, "%1 contains an invalid path.", longPath},
        {{invalidUtf8}, "%1 was not found.", invalidUtf8},
        // Unknown switches are ignored; the file after them is still the log.
        {{"-nonsense", "-also-nonsense", Path("missing.log")}, "%1 was not found.", Path("missing.log")},
        {{"-p", Path("folder.log")}, "Access to %1 was denied.", Path("folder.log")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back().substr(0, 80));
        CVorliskApp program;
        messages.clear();
        program.SetFileDialogs(&dialogs);
        EXPECT_FALSE(program.InitInstance(c.args));
        ASSERT_EQ(messages.size(), 1u);
        // Message texts pass through QString; compare the path's bytes as
        // the program turns them into text.
        EXPECT_EQ(messages[0], PathText(Expand(c.message, c.shownPath)).toStdString());
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(Path("folder.log"))).isDir());
}

TEST_F(BadInputTest, AnUnknownSwitchAloneStartsANewLog)
{
    ASSERT_TRUE(Start({"-nonsense", "--also-nonsense", ""}));
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
}

TEST_F(BadInputTest, AwkwardHeaderTemplatesBecomeTheNewLogAsDefined)
{
    const std::string hugeLine(200000, 'H');
    const struct {
        const char* name;
        std::string file;
        std::string log;
    } cases[] = {
        {"binary with NUL and invalid UTF-8", std::string("A\0B\xff\xc0\n\x80", 7), std::string("A\0B\xff\xc0\r\n\x80\r\n", 10)},
        {"Ctrl-Z ends the template", "CONTEST: X\r\n\x1aJUNK\nMORE", "CONTEST: X\r\n"},
        {"Ctrl-Z first", "\x1a" "CONTEST: X\n", ""},
        {"lone CR stays in its line", "A\rB\nC", "A\rB\r\nC\r\n"},
        {"a huge line", hugeLine, hugeLine + "\r\n"},
        {"only line ends", "\n\r\n\n", "\r\n\r\n\r\n"},
    };
    ASSERT_TRUE(Start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(Path("cabrhdr.txt"), c.file);
        messages.clear();
        app.OnFileNew();
        EXPECT_EQ(messages, std::vector<std::string>{});
        EXPECT_TRUE(Text() == c.log) << "log of " << Text().size() << " bytes";
        EXPECT_FALSE(Doc().IsModified());
    }
}

TEST_F(BadInputTest, AHeaderTemplateLargerThanALogNeverMakesAnUnsavableLog)
{
    // A wrong file under the template's name (a huge log, say): the new log
    // takes the whole lines that fit, with room for the end-of-log line, and
    // the operator is told. It saves and opens again like any log.
    std::string lines;
    for (int i = 0; lines.size() <= kMaxLogBytes + 5000; ++i)
        lines += "LINE " + std::to_string(i) + " " + std::string(50, 'x') + "\n";
    WriteFile(Path("cabrhdr.txt"), lines);
    ASSERT_TRUE(Start());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cabrhdr.txt is larger than a log may be"), std::string::npos) << messages[0];
    const std::string log = Text();
    EXPECT_LE(log.size(), kMaxLogBytes - kEndOfLogLine.size());
    EXPECT_GT(log.size(), kMaxLogBytes - 100);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n") << "only whole lines";
    EXPECT_EQ(ParseHeaderTemplate(lines).compare(0, log.size(), log), 0);

    messages.clear();
    dialogs.saveAnswers.push_back(QString::fromStdString(Path("new.log")));
    app.OnFileSave();
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_TRUE(ReadFile(Path("new.log")) == log + std::string(kEndOfLogLine));
}
