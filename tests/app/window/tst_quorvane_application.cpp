#include "window/quorvane_application.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Qt's own dialogs speak Russian, whatever the session's language, once the application
// object has set the default locale and loaded Qt's catalogue.
class TestQuorvaneApplication : public QObject {
    Q_OBJECT
private slots:
    void fileDialogTextsAreRussian();
    void messageBoxKeepsAccessKeys_data();
    void messageBoxKeepsAccessKeys();
};

void TestQuorvaneApplication::fileDialogTextsAreRussian()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("папка")));
    QFile empty(dir.filePath(QStringLiteral("слова.txt")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    // The model behind Qt's own file dialog: its file types and headings.
    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(dir.path());
    QTRY_COMPARE(model.rowCount(root), 2);
    const QModelIndex file = model.index(dir.filePath(QStringLiteral("слова.txt")));
    const QModelIndex folder = model.index(dir.filePath(QStringLiteral("папка")));
    QCOMPARE(model.data(file.siblingAtColumn(2)).toString(), QStringLiteral("Текстовый документ"));
    QCOMPARE(model.data(folder.siblingAtColumn(2)).toString(), QStringLiteral("Папка"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Размер"));
}

void TestQuorvaneApplication::messageBoxKeepsAccessKeys_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Yes/No") << int(Dialogs::Buttons::YesNo) << QStringList{"&Да", "&Нет"};
    QTest::newRow("Yes/No/Cancel") << int(Dialogs::Buttons::YesNoCancel) << QStringList{"&Да", "&Нет", "Отмена"};
}

void TestQuorvaneApplication::messageBoxKeepsAccessKeys()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, texts);
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* button : box->buttons())
            shown.append(button->text());
        box->reject();
    });
    QtDialogs dialogs;
    dialogs.message(QStringLiteral("Текст"), QStringLiteral("Заголовок"), Dialogs::Icon::Question,
                    Dialogs::Buttons(buttons));
    shown.sort();
    texts.sort();
    QCOMPARE(shown, texts);
}

int main(int argc, char** argv)
{
    QuorvaneApplication app(argc, argv);
    TestQuorvaneApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quorvane_application.moc"
