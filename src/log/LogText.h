#pragma once
// The three rules applied to the log text as a whole: cut it at the
// end-of-log marker, append a contact line at its end, and make sure the
// marker is present before the log is stored. Text is bytes throughout.

#include <cstddef>
#include <string_view>

#include "log/TextHolder.h"

// Byte offset of the first "END-OF-LOG:" in `text`, or npos when absent.
// Case-sensitive; the marker may stand anywhere, not only at a line start.
std::size_t FindEndOfLog(std::string_view text);

// Cut the text just before the first marker: the marker, the rest of its line
// and every later line go; whatever stood before it on its line stays.
// Returns true when a marker was found and the text was written back; without
// a marker the holder is not written to at all.
bool StripEndOfLog(TextHolder& holder);

// Put `line` right after the last character of the text (no separator).
void AppendQsoLine(TextHolder& holder, std::string_view line);

// When the marker occurs nowhere in the text, append "END-OF-LOG:\r\n" at the
// very end (no separator) and write the whole text back; returns true then.
// When the marker occurs anywhere, nothing changes and false is returned.
bool EnsureEndOfLog(TextHolder& holder);
