#include "log/FileError.h"

#include <cerrno>

FileErrorCause FileErrorCauseFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileErrorCause::AccessDenied;
    case EBADF:
        return FileErrorCause::InvalidFile;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::SharingViolation;
    // The program only meets EWOULDBLOCK (the same value as EAGAIN on Linux)
    // from a refused lock: its reads and writes are blocking.
    case EDEADLK:
    case ENOLCK:
    case EWOULDBLOCK:
        return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::DiskFull;
    case EIO:
        return FileErrorCause::HardIO;
    case ESPIPE:
        return FileErrorCause::BadSeek;
    default:
        return FileErrorCause::Generic;
    }
}

namespace {

// The text around the path: prefix + path + suffix.
struct Pattern {
    std::string_view prefix;
    std::string_view suffix;
};

Pattern PatternFor(FileErrorCause cause)
{
    switch (cause) {
    case FileErrorCause::FileNotFound:
        return {"", " was not found."};
    case FileErrorCause::BadPath:
        return {"", " contains an invalid path."};
    case FileErrorCause::TooManyOpenFiles:
        return {"", " could not be opened because there are too many open files."};
    case FileErrorCause::AccessDenied:
        return {"Access to ", " was denied."};
    case FileErrorCause::InvalidFile:
        return {"An invalid file handle was associated with ", "."};
    case FileErrorCause::RemoveCurrentDir:
        return {"", " could not be removed because it is the current directory."};
    case FileErrorCause::DirectoryFull:
        return {"", " could not be created because the directory is full."};
    case FileErrorCause::BadSeek:
        return {"Seek failed on ", ""};
    case FileErrorCause::HardIO:
        return {"A hardware I/O error was reported while accessing ", "."};
    case FileErrorCause::SharingViolation:
        return {"A sharing violation occurred while accessing ", "."};
    case FileErrorCause::LockViolation:
        return {"A locking violation occurred while accessing ", "."};
    case FileErrorCause::DiskFull:
        return {"Disk full while accessing ", "."};
    case FileErrorCause::EndOfFile:
        return {"An attempt was made to access ", " past its end."};
    case FileErrorCause::Generic:
        break;
    }
    return {"An unknown error occurred while accessing ", "."};
}

} // namespace

std::string FileErrorText(FileErrorCause cause, std::string_view path)
{
    const Pattern p = PatternFor(cause);
    std::string text;
    text.reserve(p.prefix.size() + path.size() + p.suffix.size());
    text.append(p.prefix);
    text.append(path);
    text.append(p.suffix);
    return text;
}

std::string FileErrorMessage(int err, std::string_view path)
{
    return FileErrorText(FileErrorCauseFromErrno(err), path);
}
