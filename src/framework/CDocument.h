#pragma once
// The document half of the single-document framework: path, title and
// modified flag, the save prompt, and reading and safely writing the file.
// The text itself lives in the view; a document reaches it only through the
// TextHolder face of its one view.

#include "framework/Archive.h"
#include "log/TextHolder.h"

#include <QObject>
#include <QString>
#include <string>

class FileDialogs;
class QWidget;

class CDocument : public QObject {
    Q_OBJECT
public:
    explicit CDocument(QObject* parent = nullptr);

    void SetView(TextHolder* view) { m_view = view; }
    TextHolder* GetFirstView() const { return m_view; }

    // Where file dialogs and message boxes are parented.
    void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }
    void SetFileDialogs(FileDialogs* dialogs) { m_dialogs = dialogs; }

    const std::string& GetPathName() const { return m_pathName; }
    // Takes the full form of `path`; the title becomes the file's name and the
    // path joins the recent-file list.
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    const QString& GetTitle() const { return m_title; }
    void SetTitle(const QString& title);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // A new, empty document: no path, not modified.
    virtual bool OnNewDocument();
    virtual void Serialize(Archive& archive) = 0;

    // Reads the file into the document. `beganLoading` tells a failure that
    // left the current log untouched (false) from one that had begun (true).
    bool OnOpenDocument(const std::string& path, bool& beganLoading);
    // Stores the document into the file; false (after its message) on failure.
    bool OnSaveDocument(const std::string& path);

    // Save: asks for a name when there is none or the file cannot be written.
    bool DoFileSave();
    // Save As (no path given) or save to `path`; on success the path becomes
    // the document's when `replace`.
    bool DoSave(const std::string* path, bool replace = true);
    // The save prompt before the log is replaced or closed: false cancels.
    bool SaveModified();

signals:
    void TitleChanged(const QString& title);
    void ModifiedChanged(bool modified);
    void PathAddedToRecentFiles(const std::string& fullPath);

private:
    TextHolder* m_view = nullptr;
    QWidget* m_dialogParent = nullptr;
    FileDialogs* m_dialogs = nullptr;
    std::string m_pathName;
    QString m_title;
    bool m_modified = false;
};

// Paths are bytes on Linux; these convert at the widget edge.
std::string PathBytes(const QString& path);
QString PathText(const std::string& path);
// The absolute, cleaned form of a path (symlinks are not resolved).
std::string FullPath(const std::string& path);
