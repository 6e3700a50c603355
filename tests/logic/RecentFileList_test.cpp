#include "app/RecentFileList.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

TEST(RecentFileList, AddPutsNewestFirstMovesRepeatsAndDropsTheOldest)
{
    RecentFileList r;
    for (const char* p : {"/l/a.log", "/l/b.log", "/l/c.log", "/l/d.log"})
        r.Add(p);
    EXPECT_EQ(r.Entries(), (List{"/l/d.log", "/l/c.log", "/l/b.log", "/l/a.log"}));

    r.Add("/l/e.log"); // the fourth falls off
    EXPECT_EQ(r.Entries(), (List{"/l/e.log", "/l/d.log", "/l/c.log", "/l/b.log"}));

    r.Add("/l/c.log"); // a repeat moves up, nothing falls off
    EXPECT_EQ(r.Entries(), (List{"/l/c.log", "/l/e.log", "/l/d.log", "/l/b.log"}));

    r.Add("/l/b.log"); // the last one moves up
    EXPECT_EQ(r.Entries(), (List{"/l/b.log", "/l/c.log", "/l/e.log", "/l/d.log"}));

    r.Add("/l/b.log"); // already first
    EXPECT_EQ(r.Entries(), (List{"/l/b.log", "/l/c.log", "/l/e.log", "/l/d.log"}));

    r.Add("");
    EXPECT_EQ(r.Entries().size(), 4u);
}

TEST(RecentFileList, NamesDifferingOnlyInCaseAreDifferentFiles)
{
    RecentFileList r;
    r.Add("/l/Cqww.log");
    r.Add("/l/cqww.log");
    r.Add("/l/CQWW.LOG");
    EXPECT_EQ(r.Entries(), (List{"/l/CQWW.LOG", "/l/cqww.log", "/l/Cqww.log"}));
}

TEST(RecentFileList, RemoveAndSetEntries)
{
    RecentFileList r;
    r.SetEntries({"/a", "", "/b", "/a", "/c", "/d", "/e"});
    EXPECT_EQ(r.Entries(), (List{"/a", "/b", "/c", "/d"}));

    r.Remove(1);
    EXPECT_EQ(r.Entries(), (List{"/a", "/c", "/d"}));
    r.Remove(2);
    EXPECT_EQ(r.Entries(), (List{"/a", "/c"}));
    r.Remove(2); // past the end: nothing happens
    r.Remove(static_cast<std::size_t>(-1));
    EXPECT_EQ(r.Entries(), (List{"/a", "/c"}));

    r.SetEntries({});
    EXPECT_TRUE(r.Entries().empty());
}

TEST(RecentFileDisplayName, ShortensLongPathsFromTheLeft)
{
    struct Case {
        const char* path;
        const char* currentDir;
        const char* expected;
    };
    const Case cases[] = {
        // In the current folder: the name alone, however the folder is written.
        {"/home/op/logs/a.log", "/home/op/logs", "a.log"},
        {"/home/op/logs/a.log", "/home/op/logs/", "a.log"},
        {"/a.log", "/", "a.log"},
        {"/home/op/logs/sub/a.log", "/home/op/logs", "/home/op/logs/sub/a.log"},
        {"/home/op/logs/a.log", "/home/op/log", "/home/op/logs/a.log"},
        {"/home/op/logs/a.log", "", "/home/op/logs/a.log"},
        // Up to 30 characters the path shows whole.
        {"/home/op/contests/2004/abc.log", "/", "/home/op/contests/2004/abc.log"},   // 30
        {"/home/op/contests/2004/abcd.log", "/", "/home/.../2004/abcd.log"},         // 31
        {"/home/op/contests/2004/cqww/logs/ok1abc.log", "/tmp", "/home/.../cqww/logs/ok1abc.log"}, // 30
        // Folders nearest the file stay as long as they fit.
        {"/home/op/aaaaaaaaaaaaaaaaaaaa/b/c/x.log", "/", "/home/.../b/c/x.log"},
        {"/srv/very/deep/folder/tree/of/logs/q.log", "/", "/srv/.../tree/of/logs/q.log"},
        // Every folder after the first dropped, and it just fits.
        {"/home/op/contests/2004/twenty-chars-title.l", "/", "/home/.../twenty-chars-title.l"},
        // Even "/first/.../name" does not fit: the name alone.
        {"/home/op/contests/2004/twenty-one-chars-title", "/", "twenty-one-chars-title"},
        {"/verylongfirstfolder-abcdefghij/deeper/title.log", "/", "title.log"},
        // Nothing between the first folder and the file to drop.
        {"/a-first-folder-with-a-long-name/contest.log", "/", "contest.log"},
        {"/a-file-directly-under-the-root-folder.log", "/home", "a-file-directly-under-the-root-folder.log"},
        // A name longer than the limit shows alone, untrimmed.
        {"/h/a-name-that-is-longer-than-thirty-chars.log", "/", "a-name-that-is-longer-than-thirty-chars.log"},
        // Valid UTF-8 counts characters: 27 of them in 33 bytes, so the path fits.
        {"/home/op/Z\xc3\xa1vody/\xc3\x96\xc3\x84\xc3\x9c/\xc3\xa9t\xc3\xa9.log", "/",
         "/home/op/Z\xc3\xa1vody/\xc3\x96\xc3\x84\xc3\x9c/\xc3\xa9t\xc3\xa9.log"},
        // Otherwise bytes count, stray continuation bytes too: 32 do not fit.
        {"/home/op/contests/2004/ab\xb0\xb0\xb0.log", "/", "/home/.../2004/ab\xb0\xb0\xb0.log"},
        // A relative path keeps its first folder.
        {"logs/contests/2004/cqww/today/ok1abc.log", "/", "logs/.../cqww/today/ok1abc.log"},
        // Ampersands are left to the menu text.
        {"/home/op/R&D/a&b.log", "/home/op/R&D", "a&b.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RecentFileDisplayName(c.path, c.currentDir), c.expected);
    }
}

TEST(RecentFileDisplayName, HonoursOtherLimits)
{
    const std::string p = "/home/op/contests/2004/cqww/logs/ok1abc.log";
    EXPECT_EQ(RecentFileDisplayName(p, "/", 100), p);
    EXPECT_EQ(RecentFileDisplayName(p, "/", 40), "/home/.../2004/cqww/logs/ok1abc.log");
    EXPECT_EQ(RecentFileDisplayName(p, "/", 10), "ok1abc.log");
    EXPECT_EQ(RecentFileDisplayName(p, "/", 5), "ok1abc.log");
}

TEST(RecentFileMenuText, NumbersTheEntryAndDoublesAmpersands)
{
    EXPECT_EQ(RecentFileMenuText(1, "cqww.log"), "&1 cqww.log");
    EXPECT_EQ(RecentFileMenuText(4, "/R&D/.../a&&b.log"), "&4 /R&&D/.../a&&&&b.log");
    EXPECT_EQ(RecentFileMenuText(2, "&"), "&2 &&");
    EXPECT_EQ(RecentFileMenuText(3, ""), "&3 ");
}

} // namespace
