#include "files/ansi_text_reader.h"

#include "file_kinds.h"

#include <QTemporaryDir>
#include <QtTest>


namespace {

const QString NotRegular = QStringLiteral("Это не обычный файл (устройство, канал или сокет).");

QByteArray cp1251(const QString& text) { return QStringEncoder("windows-1251").encode(text); }
QString decoded(const QByteArray& bytes) { return QStringDecoder("windows-1251").decode(bytes); }

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList readLines(AnsiTextReader& reader)
{
    QStringList lines;
    while (!reader.atEnd())
        lines.append(decoded(reader.readLine().toByteArray()));
    return lines;
}

QStringList readLines(const QString& path)
{
    AnsiTextReader reader;
    if (!reader.open(path))
        return {QStringLiteral("<cannot open>")};
    return readLines(reader);
}


} // namespace

class TestAnsiTextReader : public QObject {
    Q_OBJECT
private slots:
    void lineRules_data();
    void lineRules();
    void lineEndAcrossChunks_data();
    void lineEndAcrossChunks();
    void longLineKeepsWhatFollows_data();
    void longLineKeepsWhatFollows();
    void everyByteIsHandedOutAsItIs();
    void sizeInBytes();
    void openFailures_data();
    void openFailures();
    void fileChangedWhileOpen_data();
    void fileChangedWhileOpen();
    void sizeReportedAsZeroIsReadToTheEnd();
    void lettingGoOfALongLine();
};

void TestAnsiTextReader::lineRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QString::fromUtf8("one\r\ntwo\r\n") << QStringList{"one", "two"};
    QTest::newRow("lone CR") << QString::fromUtf8("one\rtwo\r") << QStringList{"one", "two"};
    QTest::newRow("lone LF stays in the entry") << QString::fromUtf8("one\ntwo\nthree") << QStringList{"one\ntwo\nthree"};
    QTest::newRow("no terminator at the end") << QString::fromUtf8("one\r\ntwo") << QStringList{"one", "two"};
    QTest::newRow("empty file") << QString() << QStringList{};
    QTest::newRow("one empty line") << QString::fromUtf8("\r\n") << QStringList{""};
    QTest::newRow("empty lines in the middle") << QString::fromUtf8("a\r\n\r\n \r\nb") << QStringList{"a", "", " ", "b"};
    QTest::newRow("CR CR LF") << QString::fromUtf8("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR") << QString::fromUtf8("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("spaces and tabs as read") << QString::fromUtf8("  a b  c \r\na\tb\r\n")
                                             << QStringList{"  a b  c ", "a\tb"};
    QTest::newRow("duplicates kept") << QString::fromUtf8("кот\r\nкот\r\n") << QStringList{"кот", "кот"};
    QTest::newRow("Windows-1251 letters") << QString::fromUtf8("Ёжик\r\nщука\r\n") << QStringList{"Ёжик", "щука"};
}

void TestAnsiTextReader::lineRules()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    QCOMPARE(readLines(writeFile(dir, cp1251(text))), lines);
}

void TestAnsiTextReader::lineEndAcrossChunks_data()
{
    // The reader's chunks are powers of two: CR LF split over two chunks is still one line end.
    QTest::addColumn<int>("lead");
    for (int lead : {(1 << 20) - 1, (1 << 20) - 2, 1 << 20})
        QTest::addRow("%d", lead) << lead;
}

void TestAnsiTextReader::lineEndAcrossChunks()
{
    QFETCH(int, lead);
    QByteArray bytes(lead, 'x');
    bytes += "\r\nnext\r\n";
    QTemporaryDir dir;
    const QStringList lines = readLines(writeFile(dir, bytes));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).size(), lead);
    QCOMPARE(lines.at(1), QStringLiteral("next"));
}

void TestAnsiTextReader::longLineKeepsWhatFollows_data()
{
    QTest::addColumn<int>("length");
    for (int length : {65535, 65536, 65537, 131071, 300000})
        QTest::addRow("%d", length) << length;
}

void TestAnsiTextReader::longLineKeepsWhatFollows()
{
    QFETCH(int, length);
    const QByteArray line = longLfLine(length);
    QTemporaryDir dir;
    QCOMPARE(readLines(writeFile(dir, "first\r" + line + "\r\nnext\r" + line + "\rlast")),
             (QStringList{"first", decoded(line), "next", decoded(line), "last"}));
}

void TestAnsiTextReader::everyByteIsHandedOutAsItIs()
{
    // Every byte but CR, in one line and spread over chunk boundaries.
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r')
            all += char(byte);
    }
    QByteArray bytes;
    while (bytes.size() < 200000)
        bytes += all;
    QTemporaryDir dir;
    AnsiTextReader reader;
    QVERIFY(reader.open(writeFile(dir, bytes)));
    QCOMPARE(reader.readLine(), bytes);
    QVERIFY(reader.atEnd());
}

void TestAnsiTextReader::sizeInBytes()
{
    QTemporaryDir dir;
    AnsiTextReader reader;
    QVERIFY(reader.open(writeFile(dir, cp1251(QStringLiteral("абв\rгде\rжзи\r")))));
    QCOMPARE(reader.size(), qint64(12));
}

void TestAnsiTextReader::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    // Refused before opening: a device never ends, and opening a FIFO waits for a writer.
    QTest::newRow("endless device") << "/dev/zero" << NotRegular;
    QTest::newRow("empty device") << "/dev/null" << NotRegular;
    QTest::newRow("FIFO without a writer") << "fifo" << NotRegular;
    QTest::newRow("socket") << "socket" << NotRegular;
    QTest::newRow("a folder") << "folder" << QStringLiteral("Это папка, а не файл.");
    QTest::newRow("missing file") << "missing.txt" << QStringLiteral("Файл или папка не найдены.");
    QTest::newRow("path under a file")
        << "under a file" << QStringLiteral("Путь к файлу указан неверно: одна из его частей не является папкой.");
}

void TestAnsiTextReader::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = specialFilePath(dir, kind);
    if (path.isEmpty())
        QSKIP("cannot make that kind of file here");
    AnsiTextReader reader;
    QVERIFY(!reader.open(path));
    QCOMPARE(reader.errorString(), reason);
}

void TestAnsiTextReader::fileChangedWhileOpen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("sizeAfterOpen");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("error");
    QTest::newRow("grows: read up to the size at open")
        << QByteArray("one\r\ntwo\r\n") << qint64(200010) << QStringList{"one", "two"} << QString();
    // A second program saving over the file does the same; what was read before stays read.
    QTest::newRow("cut short: a read failure") << "one\r\ntwo\r\n" + QByteArray(200000, 'x') << qint64(5)
                                               << QStringList{"one"} << QStringLiteral("Файл был изменён во время чтения.");
}

void TestAnsiTextReader::fileChangedWhileOpen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, sizeAfterOpen);
    QFETCH(QStringList, lines);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = writeFile(dir, bytes);
    AnsiTextReader reader;
    QVERIFY(reader.open(path));
    QVERIFY(QFile::resize(path, sizeAfterOpen));
    QCOMPARE(readLines(reader), lines);
    QCOMPARE(reader.errorString(), error);
}

void TestAnsiTextReader::sizeReportedAsZeroIsReadToTheEnd()
{
    AnsiTextReader reader;
    if (QFileInfo(QStringLiteral("/proc/self/status")).size() != 0 || !reader.open(QStringLiteral("/proc/self/status")))
        QSKIP("no /proc file of size 0 here");
    const QStringList lines = readLines(reader); // LF only: one entry
    QVERIFY(lines.size() == 1 && lines.first().startsWith(QStringLiteral("Name:")) && lines.first().endsWith('\n'));
}

void TestAnsiTextReader::lettingGoOfALongLine()
{
    QTemporaryDir dir;
    AnsiTextReader reader;
    QVERIFY(reader.open(writeFile(dir, "first\r\n" + longLfLine(300000) + "\r\nlast")));
    QList<qint64> times;
    reader.setWithinLongLine([&](qint64 lineNs) {
        times.append(lineNs);
        return times.size() < 2;
    });
    QCOMPARE(readLines(reader), (QStringList{"first", ""}));
    QVERIFY(reader.stopped() && !reader.hasError());
    QVERIFY(times.size() == 2 && 0 < times.first() && times.first() <= times.last());
}

QTEST_APPLESS_MAIN(TestAnsiTextReader)
#include "tst_ansi_text_reader.moc"
