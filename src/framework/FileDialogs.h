#pragma once
// The Open and Save As file dialogs, replaceable in tests.

#include <QString>
#include <optional>

class QWidget;

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen file's path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> AskOpenPath(QWidget* parent) = 0;
    virtual std::optional<QString> AskSavePath(QWidget* parent, const QString& proposedName) = 0;

    // The real dialogs: titled "Open" and "Save As", one filter
    // "All Files (*.*)" that shows every file, no extension added.
    static FileDialogs& System();
};
