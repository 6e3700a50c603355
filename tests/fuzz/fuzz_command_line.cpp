// The command line: any arguments (split from the input at NUL bytes) are
// parsed without a crash, and every name it returns is one of the
// arguments whole, never a piece or a join of them.
#include "FuzzCheck.h"
#include "app/CommandLine.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(current);

    const CommandLineInfo info = ParseCommandLine(args);
    const auto isArgument = [&](const std::string& s) {
        return s.empty() || std::find(args.begin(), args.end(), s) != args.end();
    };
    FUZZ_CHECK(isArgument(info.m_strFileName));
    FUZZ_CHECK(isArgument(info.m_strPrinterName));
    FUZZ_CHECK(isArgument(info.m_strDriverName));
    FUZZ_CHECK(isArgument(info.m_strPortName));
    using Command = CommandLineInfo::ShellCommand;
    if (info.m_nShellCommand == Command::FileOpen)
        FUZZ_CHECK(!info.m_strFileName.empty());
    // Printer, driver and port are only ever taken after the print-to switch.
    if (std::find(args.begin(), args.end(), "-pt") == args.end() &&
        std::find(args.begin(), args.end(), "/pt") == args.end())
        FUZZ_CHECK(info.m_strPrinterName.empty() && info.m_strDriverName.empty() && info.m_strPortName.empty());
    return 0;
}
