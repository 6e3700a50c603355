#include "app/CommandLine.h"

#include <gtest/gtest.h>

using Cmd = CommandLineInfo::ShellCommand;

static const char* Name(Cmd c)
{
    switch (c) {
    case Cmd::FileNew: return "FileNew";
    case Cmd::FileOpen: return "FileOpen";
    case Cmd::FilePrint: return "FilePrint";
    case Cmd::FilePrintTo: return "FilePrintTo";
    case Cmd::AppUnregister: return "AppUnregister";
    case Cmd::FileDDE: return "FileDDE";
    }
    return "?";
}

// One line naming the command and every field that is set, e.g.
// "FilePrintTo file=a.log printer=Laser embedded".
static std::string Describe(const CommandLineInfo& i)
{
    std::string d = Name(i.m_nShellCommand);
    const auto field = [&d](const char* label, const std::string& value) {
        if (!value.empty())
            d += std::string(" ") + label + "=" + value;
    };
    field("file", i.m_strFileName);
    field("printer", i.m_strPrinterName);
    field("driver", i.m_strDriverName);
    field("port", i.m_strPortName);
    if (i.m_bRunEmbedded)
        d += " embedded";
    if (i.m_bRunAutomated)
        d += " automated";
    return d;
}

namespace {

struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string expected; // as Describe() puts it
};

void Check(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(ParseCommandLine(c.args)), c.expected);
    }
}

TEST(ParseCommandLine, FileNameAndPrintSwitches)
{
    Check({
        {"no arguments: new log", {}, "FileNew"},
        {"file name: open", {"contest.log"}, "FileOpen file=contest.log"},
        {"only the first plain argument is the file", {"a.log", "b.log"}, "FileOpen file=a.log"},
        {"p before the file", {"-p", "a.log"}, "FilePrint file=a.log"},
        {"p after the file", {"a.log", "/p"}, "FilePrint file=a.log"},
        {"p ignores further plain arguments", {"-p", "a.log", "printer"}, "FilePrint file=a.log"},
        {"p without a file", {"-p"}, "FilePrint"},
        {"P in capitals is no switch", {"-P", "a.log"}, "FileOpen file=a.log"},
        {"pt with printer, driver and port",
         {"-pt", "a.log", "Laser", "pdf", "lp0", "extra"},
         "FilePrintTo file=a.log printer=Laser driver=pdf port=lp0"},
        {"pt after the file, printer only", {"a.log", "/pt", "Laser"}, "FilePrintTo file=a.log printer=Laser"},
        {"plain arguments before pt do not count",
         {"a.log", "stray", "-pt", "Laser", "pdf"},
         "FilePrintTo file=a.log printer=Laser driver=pdf"},
        {"PT in capitals is no switch", {"-PT", "a.log", "Laser"}, "FileOpen file=a.log"},
        {"the last print switch wins", {"-pt", "-p", "a.log", "Laser"}, "FilePrint file=a.log"},
    });
}

TEST(ParseCommandLine, OtherSwitchesAndTheirCaseRules)
{
    Check({
        {"Unregister", {"-Unregister"}, "AppUnregister"},
        {"UNREGISTER in capitals works", {"/UNREGISTER"}, "AppUnregister"},
        {"unregserver in lower case works", {"-unregserver"}, "AppUnregister"},
        {"dde", {"-dde"}, "FileDDE"},
        {"DDE in capitals is no switch", {"-DDE"}, "FileNew"},
        {"dde keeps a file name", {"/dde", "a.log"}, "FileDDE file=a.log"},
        {"Embedding", {"-embedding"}, "FileNew embedded"},
        {"Automation", {"/AUTOMATION"}, "FileNew automated"},
        {"Embedding with Unregister", {"-Unregister", "-Embedding"}, "AppUnregister embedded"},
        {"Embedding with a file opens it", {"-Embedding", "a.log"}, "FileOpen file=a.log embedded"},
        {"unknown switches are ignored", {"-x", "--verbose", "-", "a.log"}, "FileOpen file=a.log"},
        {"a switch word with a suffix is unknown", {"-print", "-ptx", "a.log"}, "FileOpen file=a.log"},
    });
}

TEST(ParseCommandLine, AbsolutePathsAreNotSwitches)
{
    Check({
        {"absolute path", {"/home/op/cqww.log"}, "FileOpen file=/home/op/cqww.log"},
        {"a file named like a switch in a folder", {"/p/x.log"}, "FileOpen file=/p/x.log"},
        {"a file in / that is not a switch word", {"/P"}, "FileOpen file=/P"},
        {"a file in / named like a switch needs --", {"--", "/p"}, "FileOpen file=/p"},
        {"an absolute path as printer after pt",
         {"/pt", "/home/op/a.log", "/dev/lp0"},
         "FilePrintTo file=/home/op/a.log printer=/dev/lp0"},
        {"a path that starts with a switch word", {"/ptx/a.log"}, "FileOpen file=/ptx/a.log"},
        {"relative path with slashes", {"logs/2004/a.log"}, "FileOpen file=logs/2004/a.log"},
    });
}

TEST(ParseCommandLine, DoubleDashEmptyAndUnusualNames)
{
    const std::string longName = "/home/op/" + std::string(5000, 'x') + ".log";
    const std::string badUtf8 = "/home/op/\xff\xfe\xc3(.log";
    Check({
        {"-- makes a dash name plain", {"--", "-p"}, "FileOpen file=-p"},
        {"switches before -- still count", {"-p", "--", "-a.log"}, "FilePrint file=-a.log"},
        {"a second -- is a plain argument", {"--", "--"}, "FileOpen file=--"},
        {"no switches after --", {"--", "a.log", "-pt"}, "FileOpen file=a.log"},
        {"empty arguments are skipped", {"", "a.log", ""}, "FileOpen file=a.log"},
        {"empty arguments do not fill printer fields",
         {"-pt", "a.log", "", "Laser"},
         "FilePrintTo file=a.log printer=Laser"},
        {"invalid UTF-8 kept byte for byte", {badUtf8}, "FileOpen file=" + badUtf8},
        {"very long name kept whole", {longName}, "FileOpen file=" + longName},
        {"names with blanks and ampersands", {"my log & notes.txt"}, "FileOpen file=my log & notes.txt"},
    });
}

} // namespace
