#include "log/FileError.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

// The path goes into the message exactly as given: not resolved, not
// tidied, whatever bytes it holds.
const std::string kPath = "logs/../2004 cqww/a&b\xff.log";

TEST(FileErrorMessage, MapsEachErrnoToItsText)
{
    struct Case {
        int err;
        std::string expected;
    };
    const Case cases[] = {
        {ENOENT, kPath + " was not found."},
        {ENOTDIR, kPath + " contains an invalid path."},
        {ENAMETOOLONG, kPath + " contains an invalid path."},
        {EINVAL, kPath + " contains an invalid path."},
        {ELOOP, kPath + " contains an invalid path."},
        {EMFILE, kPath + " could not be opened because there are too many open files."},
        {ENFILE, kPath + " could not be opened because there are too many open files."},
        {EACCES, "Access to " + kPath + " was denied."},
        {EPERM, "Access to " + kPath + " was denied."},
        {EROFS, "Access to " + kPath + " was denied."},
        {EISDIR, "Access to " + kPath + " was denied."},
        {EBADF, "An invalid file handle was associated with " + kPath + "."},
        {EBUSY, "A sharing violation occurred while accessing " + kPath + "."},
        {ETXTBSY, "A sharing violation occurred while accessing " + kPath + "."},
        {EDEADLK, "A locking violation occurred while accessing " + kPath + "."},
        {ENOLCK, "A locking violation occurred while accessing " + kPath + "."},
        {EWOULDBLOCK, "A locking violation occurred while accessing " + kPath + "."},
        {ENOSPC, "Disk full while accessing " + kPath + "."},
        {EDQUOT, "Disk full while accessing " + kPath + "."},
        {EFBIG, "Disk full while accessing " + kPath + "."},
        {EIO, "A hardware I/O error was reported while accessing " + kPath + "."},
        {ESPIPE, "Seek failed on " + kPath},
        {EXDEV, "An unknown error occurred while accessing " + kPath + "."},
        {ENOMEM, "An unknown error occurred while accessing " + kPath + "."},
        {0, "An unknown error occurred while accessing " + kPath + "."},
        {-1, "An unknown error occurred while accessing " + kPath + "."},
        {99999, "An unknown error occurred while accessing " + kPath + "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("errno " + std::to_string(c.err));
        EXPECT_EQ(FileErrorMessage(c.err, kPath), c.expected);
    }
}

TEST(FileErrorText, EveryCauseHasItsOwnText)
{
    // Including the causes no errno leads to, which callers name directly.
    struct Case {
        FileErrorCause cause;
        std::string expected;
    };
    const std::string p = "/home/op/x.log";
    const Case cases[] = {
        {FileErrorCause::Generic, "An unknown error occurred while accessing /home/op/x.log."},
        {FileErrorCause::FileNotFound, "/home/op/x.log was not found."},
        {FileErrorCause::BadPath, "/home/op/x.log contains an invalid path."},
        {FileErrorCause::TooManyOpenFiles,
         "/home/op/x.log could not be opened because there are too many open files."},
        {FileErrorCause::AccessDenied, "Access to /home/op/x.log was denied."},
        {FileErrorCause::InvalidFile, "An invalid file handle was associated with /home/op/x.log."},
        {FileErrorCause::RemoveCurrentDir,
         "/home/op/x.log could not be removed because it is the current directory."},
        {FileErrorCause::DirectoryFull,
         "/home/op/x.log could not be created because the directory is full."},
        {FileErrorCause::BadSeek, "Seek failed on /home/op/x.log"},
        {FileErrorCause::HardIO, "A hardware I/O error was reported while accessing /home/op/x.log."},
        {FileErrorCause::SharingViolation, "A sharing violation occurred while accessing /home/op/x.log."},
        {FileErrorCause::LockViolation, "A locking violation occurred while accessing /home/op/x.log."},
        {FileErrorCause::DiskFull, "Disk full while accessing /home/op/x.log."},
        {FileErrorCause::EndOfFile, "An attempt was made to access /home/op/x.log past its end."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileErrorText(c.cause, p), c.expected);
}

TEST(FileErrorText, PathMayBeEmptyOrHoldPercentSigns)
{
    // A "%1" inside the path is not expanded again.
    EXPECT_EQ(FileErrorMessage(ENOENT, "/tmp/%1%2.log"), "/tmp/%1%2.log was not found.");
    EXPECT_EQ(FileErrorMessage(EACCES, ""), "Access to  was denied.");
}

} // namespace
