#include "framework/FileDialogs.h"

#include <QFileDialog>

namespace {
// The label reads "All Files (*.*)", but on Linux many names have no dot, so
// the pattern actually used is "*": the dialog takes the last bracketed group
// as the patterns and, with the details hidden, shows the rest as the label.
const QString kAllFilesFilter = QStringLiteral("All Files (*.*) (*)");

std::optional<QString> Run(QFileDialog& dialog)
{
    dialog.setNameFilter(kAllFilesFilter);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

class SystemFileDialogs final : public FileDialogs {
public:
    std::optional<QString> AskOpenPath(QWidget* parent) override
    {
        QFileDialog dialog(parent, QStringLiteral("Open"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return Run(dialog);
    }

    std::optional<QString> AskSavePath(QWidget* parent, const QString& proposedName) override
    {
        QFileDialog dialog(parent, QStringLiteral("Save As"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString());
        dialog.selectFile(proposedName);
        return Run(dialog);
    }
};
} // namespace

FileDialogs& FileDialogs::System()
{
    static SystemFileDialogs dialogs;
    return dialogs;
}
