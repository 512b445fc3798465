#pragma once

#include "dialogs/headerpropdialog.h"

// The archive properties dialog: name, author and copyright of an archive,
// with its dates and file name shown.
class TArchiveProp : public THeaderPropDialog {
public:
    explicit TArchiveProp(QWidget* parent = nullptr);

    // The header edited here; version and readonly pass through unchanged.
    TDocumentHeader Header;

protected:
    void FormShow() override;
};

// Shows the dialog for the header and takes its edits back, however the
// dialog was closed; an emptied name keeps the previous one. True when the
// header changed.
bool EditArchiveHeader(TDocumentHeader& header, QWidget* parent);
