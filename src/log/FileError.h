#pragma once
// The texts shown when a log file cannot be opened, read or written.
// Every path-bearing text shows the path exactly as the caller handed it over
// (from a file dialog, the recent-file list or the command line), never a
// resolved or canonical form, so the operator recognises what they chose.

#include <string>
#include <string_view>

// Messages without a file name.
inline constexpr std::string_view kFileTooLargeText = "The file is too large to open.";
inline constexpr std::string_view kUnexpectedFileFormatText = "Unexpected file format.";
inline constexpr std::string_view kFailedToOpenDocumentText = "Failed to open document.";
inline constexpr std::string_view kFailedToSaveDocumentText = "Failed to save document.";

// Why a file operation failed, one value per message text.
enum class FileErrorCause {
    Generic,           // "An unknown error occurred while accessing %1."
    FileNotFound,      // "%1 was not found."
    BadPath,           // "%1 contains an invalid path."
    TooManyOpenFiles,  // "%1 could not be opened because there are too many open files."
    AccessDenied,      // "Access to %1 was denied."
    InvalidFile,       // "An invalid file handle was associated with %1."
    RemoveCurrentDir,  // "%1 could not be removed because it is the current directory."
    DirectoryFull,     // "%1 could not be created because the directory is full."
    BadSeek,           // "Seek failed on %1"
    HardIO,            // "A hardware I/O error was reported while accessing %1."
    SharingViolation,  // "A sharing violation occurred while accessing %1."
    LockViolation,     // "A locking violation occurred while accessing %1."
    DiskFull,          // "Disk full while accessing %1."
    EndOfFile,         // "An attempt was made to access %1 past its end."
};

// The cause that an errno value stands for; unknown values give Generic.
FileErrorCause FileErrorCauseFromErrno(int err);

// The message for `cause` with `path` put in place of %1.
std::string FileErrorText(FileErrorCause cause, std::string_view path);

// The message for an errno value: FileErrorText(FileErrorCauseFromErrno(err), path).
std::string FileErrorMessage(int err, std::string_view path);
