#pragma once

#include "dialogs.h"

// The real dialogs: QMessageBox and QFileDialog, modal to the active window.
class QtDialogs : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString openFileName(const QString& filter) override;
    QString saveFileName(const QString& filter) override;
};
