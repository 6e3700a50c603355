#pragma once
// Reading a log file into memory and writing one back safely.
//
// A log file is the log text byte for byte: nothing is added, removed or
// converted on the way in or out. Paths are bytes as the system hands them
// over; every message shows the path exactly as the caller passed it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

enum class LoadStatus {
    Ok,          // `bytes` holds the whole file
    CannotOpen,  // the file could not be opened at all; the current log stays as it was
    LoadFailed,  // reading began and failed; `message` says why
};

struct LoadResult {
    LoadStatus status = LoadStatus::CannotOpen;
    std::string bytes;    // the file's contents when status is Ok
    std::string message;  // the text to show when status is not Ok
};

// Reads the whole file at `path` (symlinks are followed). Refuses anything
// that is not a regular file (folder, FIFO, device, socket) without blocking
// on it, and any file above kMaxLogBytes, whether it was that large when
// opened or grew past the limit while being read.
LoadResult ReadLogFile(const std::string& path);

struct SaveResult {
    bool ok = false;
    std::string message;  // the text to show when ok is false
    int errorNumber = 0;  // errno behind the failure, 0 when there was none
};

// The low-level calls a save goes through, replaceable so that tests can make
// any of them fail. Each behaves like the system call of the same name:
// returns -1 and sets errno on failure. `close` must release the descriptor
// even when it reports a failure (as the system call does on Linux).
struct FileSystemCalls {
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> fsync;           // the freshly written temporary file
    std::function<int(int fd)> fsyncDirectory;  // the folder, after the rename
    std::function<int(int fd)> close;
    std::function<int(const char* from, const char* to)> rename;

    // The real system calls.
    static const FileSystemCalls& System();
};

// Replaces the file at `path` with `bytes` so that, whatever goes wrong, the
// file holds either its old contents or the new ones, never a mix:
// the bytes go to a hidden temporary file in the target's folder, which is
// synced, given the target's permissions (and owner and group when allowed),
// closed and renamed over the target; then the folder is synced.
// A symlink is followed, so the link stays a link to the rewritten file.
// A new file gets mode 0666 less the umask. Folders, devices, FIFOs and
// read-only files are refused with "Access to %1 was denied.".
// On failure the temporary file is removed and the old file is untouched
// (except when only the final folder sync fails: the new bytes are then in
// place but the failure is still reported).
SaveResult WriteLogFileSafely(const std::string& path, std::string_view bytes);
SaveResult WriteLogFileSafely(const std::string& path, std::string_view bytes,
                              const FileSystemCalls& calls);

// True when `path` (following symlinks) is an existing regular file that we
// may write and whose permission bits are not all read-only. When this is
// false, Save has to ask for a name as Save As does.
bool IsWritableRegularFile(const std::string& path);
