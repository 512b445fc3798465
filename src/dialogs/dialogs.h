#pragma once

#include "store/define.h"

#include <QString>

class IMail;
class QWidget;

// The openers of the dialogs the main window's commands show. Each creates
// its dialog for one use and shows it modally.

// The archive properties: edits the header in place; true when confirmed.
bool EditArchiveHeader(TDocumentHeader& header, QWidget* parent);
// The two-step wizard: the chosen file name (empty when cancelled) and the
// new archive's header.
QString RunNewArchiveWizard(TDocumentHeader& header, QWidget* parent);
// The settings dialog; saves the settings when confirmed.
bool ShowProperties(IMail* mail, QWidget* parent);
// The information window.
void ShowAbout(QWidget* parent);
