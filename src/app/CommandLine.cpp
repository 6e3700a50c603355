#include "app/CommandLine.h"

#include <string_view>

namespace {

using ShellCommand = CommandLineInfo::ShellCommand;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Applies a known switch word to `info`; returns false for any other word.
bool ApplySwitch(std::string_view word, CommandLineInfo& info)
{
    if (word == "pt")
        info.m_nShellCommand = ShellCommand::FilePrintTo;
    else if (word == "p")
        info.m_nShellCommand = ShellCommand::FilePrint;
    else if (EqualsIgnoringAsciiCase(word, "Unregister") || EqualsIgnoringAsciiCase(word, "Unregserver"))
        info.m_nShellCommand = ShellCommand::AppUnregister;
    else if (word == "dde")
        info.m_nShellCommand = ShellCommand::FileDDE;
    else if (EqualsIgnoringAsciiCase(word, "Embedding"))
        info.m_bRunEmbedded = true;
    else if (EqualsIgnoringAsciiCase(word, "Automation"))
        info.m_bRunAutomated = true;
    else
        return false;
    return true;
}

void ApplyPlain(const std::string& arg, CommandLineInfo& info)
{
    if (arg.empty())
        return;
    if (info.m_strFileName.empty())
        info.m_strFileName = arg;
    else if (info.m_nShellCommand != ShellCommand::FilePrintTo)
        return;
    else if (info.m_strPrinterName.empty())
        info.m_strPrinterName = arg;
    else if (info.m_strDriverName.empty())
        info.m_strDriverName = arg;
    else if (info.m_strPortName.empty())
        info.m_strPortName = arg;
}

} // namespace

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLineInfo info;
    bool switchesEnded = false;
    for (const std::string& arg : args) {
        if (!switchesEnded && arg == "--") {
            switchesEnded = true;
            continue;
        }
        if (!switchesEnded && !arg.empty() && arg.front() == '-') {
            ApplySwitch(std::string_view(arg).substr(1), info); // unknown words are ignored
            continue;
        }
        // "/p" is the print switch, "/home/op/x.log" a path. No switch word
        // holds a "/", so a known word cannot be mistaken for a deeper path.
        if (!switchesEnded && !arg.empty() && arg.front() == '/' && ApplySwitch(std::string_view(arg).substr(1), info))
            continue;
        ApplyPlain(arg, info);
    }
    if (!info.m_strFileName.empty() && info.m_nShellCommand == ShellCommand::FileNew)
        info.m_nShellCommand = ShellCommand::FileOpen;
    return info;
}
