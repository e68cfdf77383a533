#include "files/ansi_text_reader.h"
#include "files/ansi_text_writer.h"
#include "words/dictionary_line.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray cp1251(const QString& text) { return QStringEncoder("windows-1251").encode(text); }

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList readEntries(const QString& path)
{
    AnsiTextReader reader;
    if (!reader.open(path))
        return {QStringLiteral("<cannot open>")};
    QStringList entries;
    QString scratch;
    while (!reader.atEnd())
        entries.append(DictionaryLine::withoutSpaces(reader.readLine(), scratch).toString());
    return entries;
}

} // namespace

class TestDictionaryFile : public QObject {
    Q_OBJECT
private slots:
    void lineRules_data();
    void lineRules();
    void lineEndAcrossChunks();
    void sizeInBytes();
    void openFailures_data();
    void openFailures();
    void writesCp1251WithCrLf();
    void writeTruncatesAnExistingFile();
    void writeFailureIsReported();
    void roundTrip();
};

void TestDictionaryFile::lineRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("CR LF") << QString::fromUtf8("one\r\ntwo\r\n") << QStringList{"one", "two"};
    QTest::newRow("lone CR") << QString::fromUtf8("one\rtwo\r") << QStringList{"one", "two"};
    QTest::newRow("lone LF stays in the entry") << QString::fromUtf8("one\ntwo\nthree") << QStringList{"one\ntwo\nthree"};
    QTest::newRow("no terminator at the end") << QString::fromUtf8("one\r\ntwo") << QStringList{"one", "two"};
    QTest::newRow("empty file") << QString() << QStringList{};
    QTest::newRow("one empty line") << QString::fromUtf8("\r\n") << QStringList{""};
    QTest::newRow("empty lines in the middle") << QString::fromUtf8("a\r\n\r\n \r\nb") << QStringList{"a", "", "", "b"};
    QTest::newRow("CR CR LF") << QString::fromUtf8("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR") << QString::fromUtf8("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("spaces removed, tab kept") << QString::fromUtf8("  a b  c \r\na\tb\r\n") << QStringList{"abc", "a\tb"};
    QTest::newRow("duplicates kept") << QString::fromUtf8("кот\r\nкот\r\n") << QStringList{"кот", "кот"};
    QTest::newRow("Windows-1251 letters") << QString::fromUtf8("Ёжик\r\nщука\r\n") << QStringList{"Ёжик", "щука"};
}

void TestDictionaryFile::lineRules()
{
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    QCOMPARE(readEntries(writeFile(dir, cp1251(text))), entries);
}

void TestDictionaryFile::lineEndAcrossChunks()
{
    // The reader's chunks are powers of two: CR LF split over two chunks is still one line end.
    for (int lead : {(1 << 20) - 1, (1 << 20) - 2, 1 << 20}) {
        QByteArray bytes(lead, 'x');
        bytes += "\r\nnext\r\n";
        QTemporaryDir dir;
        const QStringList entries = readEntries(writeFile(dir, bytes));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).size(), lead);
        QCOMPARE(entries.at(1), QStringLiteral("next"));
    }
}

void TestDictionaryFile::sizeInBytes()
{
    QTemporaryDir dir;
    AnsiTextReader reader;
    QVERIFY(reader.open(writeFile(dir, cp1251(QStringLiteral("абв\rгде\rжзи\r")))));
    QCOMPARE(reader.size(), qint64(12));
}

void TestDictionaryFile::openFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "missing.txt";
    QTest::newRow("a folder") << "folder";
}

void TestDictionaryFile::openFailures()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    AnsiTextReader reader;
    QVERIFY(!reader.open(dir.filePath(name)));
    QVERIFY(!reader.errorString().isEmpty());
}

void TestDictionaryFile::writesCp1251WithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.writeLine(QStringLiteral("кот")));
    QVERIFY(writer.writeLine(QString()));
    QVERIFY(writer.writeLine(QStringLiteral("Ёж")));
    QVERIFY(writer.close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEA\xEE\xF2\r\n\r\n\xA8\xE6\r\n"));
}

void TestDictionaryFile::writeTruncatesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QByteArray(5000, 'z'));
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    QVERIFY(writer.writeLine(QStringLiteral("a")));
    QVERIFY(writer.close());
    QCOMPARE(QFileInfo(path).size(), qint64(3));
}

void TestDictionaryFile::writeFailureIsReported()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    AnsiTextWriter writer;
    QVERIFY(writer.open(QStringLiteral("/dev/full")));
    bool allWritten = true;
    for (int i = 0; i < 100000 && allWritten; ++i)
        allWritten = writer.writeLine(QStringLiteral("слово"));
    const bool closed = writer.close();
    QVERIFY(!(allWritten && closed));
    QVERIFY(!writer.errorString().isEmpty());

    // Even a single short line is caught when the file is closed.
    AnsiTextWriter small;
    QVERIFY(small.open(QStringLiteral("/dev/full")));
    small.writeLine(QStringLiteral("a"));
    QVERIFY(!small.close());
}

void TestDictionaryFile::roundTrip()
{
    const QStringList words{"Ёлка", "", "tab\tword", "кот", "кот", "line\nfeed"};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.txt"));
    AnsiTextWriter writer;
    QVERIFY(writer.open(path));
    for (const QString& word : words)
        QVERIFY(writer.writeLine(word));
    QVERIFY(writer.close());
    QCOMPARE(readEntries(path), words);
}

QTEST_APPLESS_MAIN(TestDictionaryFile)
#include "tst_dictionary_file.moc"
