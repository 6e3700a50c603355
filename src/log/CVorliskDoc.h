#pragma once
// The log document: a new log starts from the header template, a stored log
// always carries its end-of-log line, and the file holds the view's bytes.

#include "framework/CDocument.h"

class CVorliskDoc : public CDocument {
    Q_OBJECT
public:
    using CDocument::CDocument;

    bool OnNewDocument() override;
    void Serialize(Archive& archive) override;
};
