#pragma once
// The one narrow face through which anything reaches the log text.
// The log view implements it on the edit control; tests use MemoryTextHolder.
// Text is bytes, never re-encoded: NUL, lone CR and invalid UTF-8 pass through.

#include <string_view>

class TextHolder {
public:
    virtual ~TextHolder() = default;

    // The whole text. The view stays valid until the next change of the text.
    virtual std::string_view Text() const = 0;

    // Replace the whole text (as setting the window text does: no undo step,
    // does not mark the log as modified).
    virtual void ReplaceAll(std::string_view text) = 0;

    // Select the empty range at the very end, scroll the caret into view and
    // replace the selection with `text` (not undoable). Marks the log modified.
    virtual void AppendAtEnd(std::string_view text) = 0;
};
