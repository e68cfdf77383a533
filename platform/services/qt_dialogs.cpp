#include "qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer fromQtButton(int button, Dialogs::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    default:
        // Closed by Escape or the window's close button: the safest answer of the set.
        return buttons == Dialogs::Buttons::Ok      ? Dialogs::Answer::Ok
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
    box.setEscapeButton(buttons == Buttons::Ok      ? QMessageBox::Ok
                        : buttons == Buttons::YesNo ? QMessageBox::No
                                                    : QMessageBox::Cancel);
    return fromQtButton(box.exec(), buttons);
}

namespace {

// Qt's file model writes sizes and dates in the session's locale ("0 bytes"); the program
// speaks Russian whatever the session, so the dialog shows them in the default locale, in
// units that have Russian names ("2,00 кБ": the binary ones have none and read "KiB").
class DefaultLocaleFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == SizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source), 2, QLocale::DataSizeTraditionalFormat);
        if (index.column() == DateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int SizeColumn = 1;
    static constexpr int DateColumn = 3;
};

// "*.*" means every file where it comes from; to Qt it means names with a dot only.
QStringList qtNameFilters(const QString& filter)
{
    QStringList filters = toQtFileFilter(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    for (QString& entry : filters) {
        const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
        if (open < 0 || !entry.endsWith(QLatin1Char(')')))
            continue;
        QStringList patterns = entry.mid(open + 1, entry.size() - open - 2).split(QLatin1Char(' '));
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        patterns.removeDuplicates();
        entry = entry.left(open + 1) + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

// Qt's dialog keeps its history and last folder in the user's Qt settings. The program keeps
// nothing between runs: its user settings (the dialog's are the only ones) live in a folder
// of its own that goes with the program.
void keepNoSettings()
{
    static const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
}

// The filter list shows the labels as given ("Все файлы (*.*)") over the patterns that
// Qt matches with ("*").
void showLabels(QFileDialog& dialog, const QStringList& labels)
{
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    for (int i = 0; types && i < types->count() && i < labels.size(); ++i)
        types->setItemText(i, labels.at(i));
}

// A name typed without an extension reads back as text with ".txt" added, unless a file of
// that very name exists (a device, a file without an extension): then it is the one meant.
class TextFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        if (acceptMode() == AcceptSave) {
            setDefaultSuffix(QString());
            const bool exists = QFileInfo::exists(selectedFiles().value(0));
            setDefaultSuffix(exists ? QString() : QStringLiteral("txt"));
        }
        QFileDialog::accept();
    }
};

QString runFileDialog(QFileDialog::AcceptMode mode, const QString& filter)
{
    keepNoSettings();
    TextFileDialog dialog(QApplication::activeWindow());
    // Qt's own dialog everywhere: the same filters, suffix and behaviour on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new DefaultLocaleFileDetails(&dialog));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    showLabels(dialog, toQtFileFilter(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtDialogs::openFileName(const QString& filter) { return runFileDialog(QFileDialog::AcceptOpen, filter); }

QString QtDialogs::saveFileName(const QString& filter) { return runFileDialog(QFileDialog::AcceptSave, filter); }
