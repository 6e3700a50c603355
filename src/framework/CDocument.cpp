#include "framework/CDocument.h"

#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "log/LogFile.h"
#include "log/LogLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kUntitled = QStringLiteral("Untitled");

// After a file was chosen in a dialog, the working folder is that file's
// folder: a later New reads the header template from there.
void MoveToFolderOf(const QString& path)
{
    QDir::setCurrent(QFileInfo(path).absolutePath());
}
} // namespace

std::string PathBytes(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QString PathText(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string FullPath(const std::string& path)
{
    return PathBytes(QDir::cleanPath(QFileInfo(PathText(path)).absoluteFilePath()));
}

CDocument::CDocument(QObject* parent) : QObject(parent), m_title(kUntitled) {}

void CDocument::SetPathName(const std::string& path, bool addToRecentFiles)
{
    m_pathName = FullPath(path);
    SetTitle(QFileInfo(PathText(m_pathName)).fileName());
    if (addToRecentFiles)
        emit PathAddedToRecentFiles(m_pathName);
}

void CDocument::SetTitle(const QString& title)
{
    m_title = title;
    emit TitleChanged(m_title);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(m_modified);
}

bool CDocument::OnNewDocument()
{
    m_pathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path, bool& beganLoading)
{
    beganLoading = false;
    LoadResult result = ReadLogFile(path);
    if (result.status == LoadStatus::CannotOpen) {
        ShowMessage(QString::fromStdString(result.message));
        return false;
    }
    beganLoading = true;
    if (result.status != LoadStatus::Ok) {
        ShowMessage(QString::fromStdString(result.message));
        return false;
    }
    // An empty file is read as the empty log: the view never keeps the text
    // of another file under this file's name.
    Archive archive = Archive::ForLoading(std::move(result.bytes));
    Serialize(archive);
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    Archive archive = Archive::ForStoring();
    Serialize(archive);
    if (archive.Bytes().size() > kMaxLogBytes) {
        // Never write a log that could not be opened again.
        ShowMessage(QStringLiteral("The log is too large to save: a log may hold at most "
                                   "1,048,575 bytes, its END-OF-LOG: line included. "
                                   "Shorten it and save again."));
        return false;
    }
    const SaveResult result = WriteLogFileSafely(path, archive.Bytes());
    if (!result.ok) {
        ShowMessage(QString::fromStdString(result.message));
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::DoFileSave()
{
    if (m_pathName.empty() || !IsWritableRegularFile(m_pathName))
        return DoSave(nullptr);
    return DoSave(&m_pathName);
}

bool CDocument::DoSave(const std::string* path, bool replace)
{
    std::string target;
    if (path) {
        target = *path;
    } else {
        const QString proposed = m_pathName.empty() ? m_title : PathText(m_pathName);
        FileDialogs& dialogs = m_dialogs ? *m_dialogs : FileDialogs::System();
        const std::optional<QString> chosen = dialogs.AskSavePath(m_dialogParent, proposed);
        if (!chosen)
            return false;
        MoveToFolderOf(*chosen);
        target = PathBytes(*chosen);
    }
    // A failed save leaves whatever file stood at the chosen name untouched.
    if (!OnSaveDocument(target))
        return false;
    if (replace)
        SetPathName(target);
    return true;
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    switch (ShowMessage(QStringLiteral("Save changes to %1?").arg(m_title), MessageButtons::YesNoCancel,
                        MessageIcon::Question)) {
    case MessageAnswer::Yes:
        return DoFileSave();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}
