#include "files/ansi_text_reader.h"
#include "files/ansi_text_writer.h"

#include "file_kinds.h"

#include <QStringConverter>
#include <QTemporaryDir>
#include <QtTest>


namespace {

const QString NotRegular = QStringLiteral("Это не обычный файл (устройство, канал или сокет).");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}


} // namespace

class TestAnsiTextWriter : public QObject {
    Q_OBJECT
private slots:
    void writesCp1251WithCrLf();
    void writeTruncatesAnExistingFile();
    void openFailures_data();
    void openFailures();
    void writeFailureIsReported();
    void roundTrip();
};

void TestAnsiTextWriter::writesCp1251WithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.writeLine(QByteArrayView("\xEA\xEE\xF2"))); // "кот" in Windows-1251
    QVERIFY(writer.writeLine(QByteArrayView()));
    QVERIFY(writer.writeLine(QByteArrayView("\xA8\xE6"))); // "Ёж"
    QVERIFY(writer.writeLine(QByteArrayView("\xD2\xEE\xEA"))); // "Ток", bytes as they are
    QVERIFY(writer.close());
    QCOMPARE(readBytes(path), QByteArray("\xEA\xEE\xF2\r\n\r\n\xA8\xE6\r\n\xD2\xEE\xEA\r\n"));
}

void TestAnsiTextWriter::writeTruncatesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'z')) == 5000);
    old.close();
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.writeLine(QByteArrayView("a")));
    QVERIFY(writer.close());
    QCOMPARE(QFileInfo(path).size(), qint64(3));
}

void TestAnsiTextWriter::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    // Refused without blocking: a FIFO nobody reads would wait for a reader.
    QTest::newRow("FIFO without a reader") << "fifo" << NotRegular;
    QTest::newRow("socket") << "socket" << NotRegular;
    QTest::newRow("folder") << "folder" << QStringLiteral("Это папка, а не файл.");
    QTest::newRow("missing folder") << "no-such-folder/found.txt" << QStringLiteral("Файл или папка не найдены.");
    QTest::newRow("path under a file")
        << "under a file" << QStringLiteral("Путь к файлу указан неверно: одна из его частей не является папкой.");
}

void TestAnsiTextWriter::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = specialFilePath(dir, kind);
    if (path.isEmpty())
        QSKIP("cannot make that kind of file here");
    AnsiTextWriter writer;
    QVERIFY(!writer.open(path));
    QCOMPARE(writer.errorString(), reason);
}

void TestAnsiTextWriter::writeFailureIsReported()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    AnsiTextWriter writer;
    QVERIFY(writer.open(QStringLiteral("/dev/full")));
    bool allWritten = true;
    for (int i = 0; i < 100000 && allWritten; ++i)
        allWritten = writer.writeLine(QByteArrayView("slovo"));
    const bool closed = writer.close();
    QVERIFY(!(allWritten && closed));
    QCOMPARE(writer.errorString(), QStringLiteral("Недостаточно места на диске."));

    // Even a single short line is caught when the file is closed.
    AnsiTextWriter small;
    QVERIFY(small.open(QStringLiteral("/dev/full")));
    small.writeLine(QByteArrayView("a"));
    QVERIFY(!small.close());
}

void TestAnsiTextWriter::roundTrip()
{
    const QStringList words{"Ёлка", "", "tab\tword", "кот", "кот", "line\nfeed"};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.txt"));
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    for (const QString& word : words)
        QVERIFY(writer.writeLine(QByteArray(QStringEncoder("windows-1251").encode(word))));
    QVERIFY(writer.close());
    AnsiTextReader reader;
    QVERIFY(reader.open(path));
    QStringList read;
    while (!reader.atEnd())
        read.append(QStringDecoder("windows-1251").decode(reader.readLine()));
    QCOMPARE(read, words);
}

QTEST_APPLESS_MAIN(TestAnsiTextWriter)
#include "tst_ansi_text_writer.moc"
