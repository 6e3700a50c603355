#pragma once
// The list of recently used logs shown on the File menu, newest first.

#include <cstddef>
#include <string>
#include <vector>

class RecentFileList {
public:
    static constexpr std::size_t kCapacity = 4;

    // Puts `fullPath` first. An entry equal to it moves up; otherwise, with
    // the list full, the last entry falls off. Paths compare byte for byte
    // (Linux file names are case-sensitive). An empty path is ignored.
    void Add(const std::string& fullPath);

    // Drops the entry at `index` (0-based); an index past the end does nothing.
    void Remove(std::size_t index);

    const std::vector<std::string>& Entries() const { return m_entries; }

    // Replaces the list with stored entries: empty ones and repeats are
    // dropped, and at most kCapacity are kept, in the given order.
    void SetEntries(std::vector<std::string> entries);

private:
    std::vector<std::string> m_entries;
};

// The name under which a recent file is shown: the file's name alone when it
// lies in `currentDir`; otherwise the whole path when it has at most
// `maxLength` characters; otherwise the path shortened by putting "/..." in
// place of the folders after the first one, dropping as few as possible
// (those nearest the file stay) so that the result is shorter than
// `maxLength`; and the file's name alone when that cannot be done.
// Characters are counted as UTF-8 code points when the path is valid UTF-8,
// as bytes otherwise.
std::string RecentFileDisplayName(const std::string& fullPath, const std::string& currentDir,
                                  std::size_t maxLength = 30);

// The File menu text of entry `number` (1 to 4): "&<number> <name>", with
// every "&" of the name doubled so that it shows as itself.
std::string RecentFileMenuText(int number, const std::string& displayName);
