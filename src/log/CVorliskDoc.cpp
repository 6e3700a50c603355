#include "log/CVorliskDoc.h"

#include "log/HeaderTemplate.h"
#include "log/LogText.h"

bool CVorliskDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    GetFirstView()->ReplaceAll(LoadHeaderTemplate());
    return true;
}

void CVorliskDoc::Serialize(Archive& archive)
{
    TextHolder& view = *GetFirstView();
    if (archive.IsStoring()) {
        EnsureEndOfLog(view);
        archive.Write(view.Text());
    } else {
        view.ReplaceAll(archive.Bytes());
    }
}
