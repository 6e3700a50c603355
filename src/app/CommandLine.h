#pragma once
// What the program was asked to do on its command line.

#include <string>
#include <vector>

struct CommandLineInfo {
    enum class ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, AppUnregister, FileDDE };

    ShellCommand m_nShellCommand = ShellCommand::FileNew;
    std::string m_strFileName;    // the log to open or print; empty for a new log
    std::string m_strPrinterName; // with FilePrintTo: where to print
    std::string m_strDriverName;
    std::string m_strPortName;
    bool m_bRunEmbedded = false;  // "Embedding" was given
    bool m_bRunAutomated = false; // "Automation" was given
};

// Parses the arguments (without the program name).
//
// A switch starts with "-" or "/", followed by one of these words:
//   pt          print the file to the printer, driver and port named by the
//               plain arguments after the file name
//   p           print the file to the default printer
//   Unregister, Unregserver   remove the program's settings
//   dde         (accepted; see ShellCommand::FileDDE)
//   Embedding, Automation     accepted, no visible effect
// "pt", "p" and "dde" must be written exactly so; the others in any case.
// Unknown "-" switches are ignored. Because absolute paths start with "/",
// an argument starting with "/" counts as a switch only when the rest is one
// of the words above; otherwise it is a path. "--" ends the switches: every
// later argument is plain, even one that starts with "-".
//
// The first plain argument is the file name. Later plain arguments count
// only after "pt" (printer, then driver, then port) and are otherwise
// ignored, as are empty arguments. A file name without a print or other
// command means: open it.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);
