#include "dialogs/dialogs.h"

// Stand-ins until the dialogs are built.
bool EditArchiveHeader(TDocumentHeader&, QWidget*) { return false; }
QString RunNewArchiveWizard(TDocumentHeader&, QWidget*) { return {}; }
bool ShowProperties(IMail*, QWidget*) { return false; }
void ShowAbout(QWidget*) {}
