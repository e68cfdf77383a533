#pragma once

#include "services/dialogs.h"

#include <QString>

// The window's file dialog: the filter it is stored with and the file name chosen last.
// An empty name after a dialog means the user cancelled.
struct CommonDialog {
    QString Filter;
    QString FileName;

    void ShowOpen() { FileName = Dialogs::current().openFileName(Filter); }
    void ShowSave() { FileName = Dialogs::current().saveFileName(Filter); }
};
