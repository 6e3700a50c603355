#include "framework/SingleDocTemplate.h"

#include "framework/CDocument.h"

#include <utility>

SingleDocTemplate::SingleDocTemplate(CDocument& document, std::function<void()> initialUpdate)
    : m_document(document), m_initialUpdate(std::move(initialUpdate))
{
}

bool SingleDocTemplate::MakeNewDocument()
{
    m_document.SetTitle(QStringLiteral("Untitled"));
    if (!m_document.OnNewDocument())
        return false;
    m_initialUpdate();
    return true;
}

bool SingleDocTemplate::NewDocument()
{
    if (!m_document.SaveModified())
        return false;
    return MakeNewDocument();
}

SingleDocTemplate::OpenResult SingleDocTemplate::OpenDocumentFile(const std::string& path)
{
    if (!m_document.GetPathName().empty() && FullPath(path) == m_document.GetPathName())
        return OpenResult::AlreadyOpen;
    if (!m_document.SaveModified())
        return OpenResult::Cancelled;
    bool beganLoading = false;
    if (!m_document.OnOpenDocument(path, beganLoading)) {
        if (!beganLoading)
            return OpenResult::CannotOpen;
        MakeNewDocument();
        return OpenResult::LoadFailed;
    }
    m_document.SetPathName(path);
    m_initialUpdate();
    return OpenResult::Opened;
}
