#include "qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok: return QMessageBox::Ok;
    case Dialogs::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer fromQtButton(int button, Dialogs::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Yes: return Dialogs::Answer::Yes;
    case QMessageBox::No: return Dialogs::Answer::No;
    case QMessageBox::Cancel: return Dialogs::Answer::Cancel;
    case QMessageBox::Ok: return Dialogs::Answer::Ok;
    default:
        // Closed by Escape or the window's close button: the safest answer of the set.
        return buttons == Dialogs::Buttons::Ok ? Dialogs::Answer::Ok
               : buttons == Dialogs::Buttons::YesNo ? Dialogs::Answer::No
                                                    : Dialogs::Answer::Cancel;
    }
}

// Qt's Russian texts carry access keys («&Да»); only a button still showing Qt's English
// text, its translation missing, gets ours.
void localize(QMessageBox& box, QMessageBox::StandardButton button, const char* english, const char* russian)
{
    QAbstractButton* b = box.button(button);
    if (b && b->text() == QLatin1String(english))
        b->setText(QString::fromUtf8(russian));
}

} // namespace

Dialogs::Answer QtDialogs::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), QApplication::activeWindow());
    localize(box, QMessageBox::Yes, "&Yes", "&Да");
    localize(box, QMessageBox::No, "&No", "&Нет");
    localize(box, QMessageBox::Cancel, "Cancel", "Отмена");
    box.setEscapeButton(buttons == Buttons::Ok ? QMessageBox::Ok
                        : buttons == Buttons::YesNo ? QMessageBox::No
                                                    : QMessageBox::Cancel);
    return fromQtButton(box.exec(), buttons);
}

QString QtDialogs::openFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(),
                                        toQtFileFilter(filter));
}

QString QtDialogs::saveFileName(const QString& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), QString(),
                                        toQtFileFilter(filter));
}
