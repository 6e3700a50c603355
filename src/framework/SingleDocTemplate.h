#pragma once
// The single-document template: one document and one view for the whole run;
// File New and File Open reuse them.

#include <functional>
#include <string>

class CDocument;

class SingleDocTemplate {
public:
    // `initialUpdate` runs after every New and every successful Open (the view
    // sets its font again).
    SingleDocTemplate(CDocument& document, std::function<void()> initialUpdate);

    CDocument& Document() const { return m_document; }

    // File New: the save prompt, then a new "Untitled" log. False when the
    // operator cancelled or the new log could not be made.
    bool NewDocument();

    enum class OpenResult {
        Opened,        // the file is now the log
        AlreadyOpen,   // it was the open log already: nothing happened
        Cancelled,     // the save prompt was cancelled
        CannotOpen,    // the file could not be opened: the log stays as it was
        LoadFailed,    // reading failed: a new "Untitled" log replaced the old one
    };
    // File Open of `path` (as the operator gave it; messages show it so).
    OpenResult OpenDocumentFile(const std::string& path);

private:
    bool MakeNewDocument();

    CDocument& m_document;
    std::function<void()> m_initialUpdate;
};
