#include "services/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Acts on the modal dialog once it is up, as a user would.
void whenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Types `name` into the file dialog `modal`, in `folder`, as a user would: selectFile()
// races the dialog's folder model. The dialog, for accepting it afterwards.
QFileDialog* typeFileName(QWidget* modal, const QString& folder, const QString& name)
{
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!edit)
        return nullptr;
    dialog->setDirectory(folder);
    edit->setText(name);
    return dialog;
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    // Before any dialog: where the user's settings would go.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void openDialogReturnsTheChosenFile();
    void cancelledDialogReturnsNoName();
    void filterInQtForm();
    void everyFileMeansEveryFile();
    void saveAddsTextSuffix_data();
    void saveAddsTextSuffix();
    void sizesAndDatesFollowTheDefaultLocale();

private:
    QTemporaryDir config_;
};

void TestQtDialogs::messageBoxAnswers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("shown");
    using D = Dialogs;
    QTest::newRow("OK") << int(D::Buttons::Ok) << "OK" << int(D::Answer::Ok) << QStringList{"OK"};
    QTest::newRow("Yes") << int(D::Buttons::YesNoCancel) << "Да" << int(D::Answer::Yes)
                         << QStringList{"Да", "Нет", "Отмена"};
    QTest::newRow("No") << int(D::Buttons::YesNo) << "Нет" << int(D::Answer::No) << QStringList{"Да", "Нет"};
    QTest::newRow("Cancel") << int(D::Buttons::YesNoCancel) << "Отмена" << int(D::Answer::Cancel)
                            << QStringList{"Да", "Нет", "Отмена"};
    QTest::newRow("Escape on Yes/No is No") << int(D::Buttons::YesNo) << "" << int(D::Answer::No)
                                            << QStringList{"Да", "Нет"};
}

void TestQtDialogs::messageBoxAnswers()
{
    QFETCH(int, buttons);
    QFETCH(QString, press);
    QFETCH(int, answer);
    QFETCH(QStringList, shown);
    QStringList texts;
    QString title;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        for (QAbstractButton* button : box->buttons())
            texts.append(button->text().remove(QLatin1Char('&')));
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == press)
                button->click();
        }
    });
    QtDialogs dialogs;
    const Dialogs::Answer result = dialogs.message(QStringLiteral("Текст"), QStringLiteral("Заголовок"),
                                                   Dialogs::Icon::Question, Dialogs::Buttons(buttons));
    QCOMPARE(int(result), answer);
    QCOMPARE(title, QStringLiteral("Заголовок"));
    texts.sort();
    shown.sort();
    QCOMPARE(texts, shown);
}

void TestQtDialogs::openDialogReturnsTheChosenFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("слова.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    whenModal([&](QWidget* modal) {
        QFileDialog* dialog = typeFileName(modal, dir.path(), QFileInfo(path).fileName());
        QVERIFY(dialog);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtDialogs dialogs;
    QCOMPARE(dialogs.openFileName(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*")), path);
}

void TestQtDialogs::cancelledDialogReturnsNoName()
{
    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QtDialogs dialogs;
    QCOMPARE(dialogs.saveFileName(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*")), QString());
}

void TestQtDialogs::filterInQtForm()
{
    QCOMPARE(toQtFileFilter(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*")),
             QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*.*)"));
}

// Files without a dot are listed under the all-files entry, whose label stays as it was;
// and the dialog leaves nothing behind in the user's settings.
void TestQtDialogs::everyFileMeansEveryFile()
{
    QStringList filters;
    QStringList labels;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        for (int i = 0; i < types->count(); ++i)
            labels.append(types->itemText(i));
        dialog->setDirectory(QDir::tempPath());
        dialog->reject();
    });
    QtDialogs dialogs;
    dialogs.openFileName(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*"));
    QCOMPARE(filters, (QStringList{QStringLiteral("Текстовые файлы (*.txt)"), QStringLiteral("Все файлы (*)")}));
    QCOMPARE(labels, (QStringList{QStringLiteral("Текстовые файлы (*.txt)"), QStringLiteral("Все файлы (*.*)")}));
    QCOMPARE(QDir(config_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestQtDialogs::saveAddsTextSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("exists");
    QTest::newRow("no extension") << "найдено" << "найдено.txt" << false;
    QTest::newRow("own extension") << "найдено.lst" << "найдено.lst" << false;
    QTest::newRow("text extension") << "найдено.txt" << "найдено.txt" << false;
    QTest::newRow("existing name without extension") << "найдено" << "найдено" << true;
}

void TestQtDialogs::saveAddsTextSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    if (exists)
        QVERIFY(QFile(dir.filePath(typed)).open(QIODevice::WriteOnly));
    whenModal([&](QWidget* modal) {
        QFileDialog* dialog = typeFileName(modal, dir.path(), typed);
        QVERIFY(dialog);
        if (exists) // the question before replacing it
            whenModal([](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtDialogs dialogs;
    QCOMPARE(dialogs.saveFileName(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*")), dir.filePath(saved));
}

// The program sets a Russian default locale; the session's own may be English.
void TestQtDialogs::sizesAndDatesFollowTheDefaultLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("слова.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(2048, 'a')) == 2048);
    file.close();
    QString size;
    QString date;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        dialog->setDirectory(dir.path());
        QAbstractItemModel* shown = dialog->proxyModel();
        QVERIFY(shown);
        auto* files = qobject_cast<QFileSystemModel*>(qobject_cast<QAbstractProxyModel*>(shown)->sourceModel());
        QVERIFY(files);
        QTRY_VERIFY(files->index(path).isValid() && files->size(files->index(path)) == 2048);
        const QModelIndex row = qobject_cast<QAbstractProxyModel*>(shown)->mapFromSource(files->index(path));
        size = shown->data(row.siblingAtColumn(1)).toString();
        date = shown->data(row.siblingAtColumn(3)).toString();
        dialog->reject();
    });
    QtDialogs dialogs;
    dialogs.openFileName(QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*"));
    QLocale::setDefault(previous);
    QCOMPARE(size, QStringLiteral("2,00 кБ"));
    QCOMPARE(date, QLocale(QLocale::Russian).toString(QFileInfo(path).lastModified(), QLocale::ShortFormat));
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qt_dialogs.moc"
