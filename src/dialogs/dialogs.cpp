#include "dialogs/dialogs.h"

#include "dialogs/about.h"

void ShowAbout(QWidget* parent)
{
    TAbout about(parent);
    about.exec();
}
