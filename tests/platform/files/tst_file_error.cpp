#include "files/file_error.h"

#include <QRegularExpression>
#include <QtTest>

#include <cerrno>

class TestFileError : public QObject {
    Q_OBJECT
private slots:
    void everyErrorReadsInRussian_data();
    void everyErrorReadsInRussian();
};

void TestFileError::everyErrorReadsInRussian_data()
{
    QTest::addColumn<FileError::Action>("action");
    QTest::addColumn<QString>("unknown");
    QTest::newRow("open") << FileError::Action::Open << QStringLiteral("Не удалось открыть файл.");
    QTest::newRow("read") << FileError::Action::Read << QStringLiteral("Ошибка чтения файла.");
    QTest::newRow("write") << FileError::Action::Write << QStringLiteral("Ошибка записи в файл.");
}

void TestFileError::everyErrorReadsInRussian()
{
    QFETCH(FileError::Action, action);
    QFETCH(QString, unknown);
    // No system phrase in English slips into a Russian box.
    const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    for (int code = 0; code < 140; ++code) {
        const QString text = FileError::describe(code, action);
        QVERIFY2(!text.contains(latinWord) && text.endsWith(QLatin1Char('.')), qPrintable(text));
    }
    QCOMPARE(FileError::describe(EIO, action), unknown);
    QCOMPARE(FileError::describe(ENOSPC, action), QStringLiteral("Недостаточно места на диске."));
    QCOMPARE(FileError::describe(9999, action), unknown + QStringLiteral(" Код ошибки: 9999."));
}

QTEST_APPLESS_MAIN(TestFileError)
#include "tst_file_error.moc"
