#pragma once

#include "dialogs/headerpropdialog.h"

// The entry properties dialog: name, author and copyright of an entry, with
// its dates shown.
class TDocProp : public THeaderPropDialog {
public:
    explicit TDocProp(QWidget* parent = nullptr);

    // The properties edited here; description and type pass through.
    TDocHeader Properties;

protected:
    void FormShow() override;
};

// Shows the dialog for the entry's properties and takes its edits back,
// however the dialog was closed; an emptied name keeps the previous one.
// True when the properties changed.
bool EditEntryProperties(TDocHeader& properties, QWidget* parent);
