#include "files/ansi_text_reader.h"
#include "files/ansi_text_writer.h"
#include "files/file_error.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "services/qt_event_pump.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Answer = Dialogs::Answer;

namespace {

const QString NotRegular = QStringLiteral("Это не обычный файл (устройство, канал или сокет).");
const QString IsFolder = QStringLiteral("Это папка, а не файл.");
const QString NotFound = QStringLiteral("Файл или папка не найдены.");
const QString NotADirectory =
    QStringLiteral("Путь к файлу указан неверно: одна из его частей не является папкой.");
const QString NoSpace = QStringLiteral("Недостаточно места на диске.");

// A path in `dir` standing for each kind of hostile name; empty when it cannot be made here.
QString hostilePath(const QTemporaryDir& dir, const QString& kind)
{
    if (kind.startsWith(QLatin1Char('/')))
        return QFileInfo::exists(kind) ? kind : QString();
    const QString path = dir.filePath(kind);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0600) == 0 ? path : QString();
    if (kind == QLatin1String("socket")) {
        // The socket file stays after its descriptor is closed, and nobody listens.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (fd < 0 || name.size() >= qsizetype(sizeof address.sun_path))
            return QString();
        qstrcpy(address.sun_path, name.constData());
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound ? path : QString();
    }
    if (kind == QLatin1String("folder"))
        return QDir(dir.path()).mkdir(kind) ? path : QString();
    if (kind == QLatin1String("under a file")) {
        QFile file(dir.filePath(QStringLiteral("plain.txt")));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        return dir.filePath(QStringLiteral("plain.txt/words.txt"));
    }
    return path; // missing
}

// A Russian box may name the file; apart from that it holds no Latin word, so no
// system phrase in English slipped in.
bool hasNoEnglish(QString text, const QString& path)
{
    text.remove(path);
    return !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

QByteArray longLfLine(qsizetype bytes)
{
    QByteArray line;
    line.reserve(bytes);
    while (line.size() < bytes)
        line += "\xEA\xEE\xF2 \xF2\xEE\xEA\n"; // "кот ток" and a lone LF
    line.truncate(bytes);
    return line;
}

QString decoded(const QByteArray& bytes)
{
    return QStringDecoder("windows-1251").decode(bytes);
}

} // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT
private slots:
    void init() { h = std::make_unique<FormHarness>(); }
    void cleanup() { closeHarness(h); }

    void importRefusesBeforeOpening_data();
    void importRefusesBeforeOpening();
    void saveRefusesWithoutBlocking_data();
    void saveRefusesWithoutBlocking();
    void fullDiskLeavesTheWindowIdle();
    void everyFileErrorReadsInRussian_data();
    void everyFileErrorReadsInRussian();
    void readsNoMoreThanTheSizeAtOpen();
    void everyByteDecodesAsTheCodePage();
    void longLineKeepsWhatFollows_data();
    void longLineKeepsWhatFollows();
    void longLfLineIsOneEntry_data();
    void longLfLineIsOneEntry();
    void timersRunInsideALongLine();

private:
    std::unique_ptr<FormHarness> h;
};

void TestHostileInputs::importRefusesBeforeOpening_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("endless device") << "/dev/zero" << NotRegular;
    QTest::newRow("empty device") << "/dev/null" << NotRegular;
    QTest::newRow("FIFO without a writer") << "fifo" << NotRegular;
    QTest::newRow("socket") << "socket" << NotRegular;
    QTest::newRow("folder") << "folder" << IsFolder;
    QTest::newRow("missing file") << "missing.txt" << NotFound;
    QTest::newRow("path under a file") << "under a file" << NotADirectory;
}

void TestHostileInputs::importRefusesBeforeOpening()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    const QString path = hostilePath(h->dir, kind);
    if (path.isEmpty())
        QSKIP("cannot make that kind of file here");

    const QString text = QStringLiteral("Не удалось открыть файл словаря:\n%1\n\n%2").arg(path, reason);
    h->dialogs.expectOpen(path);
    h->dialogs.expectMessage(h->error(text), Answer::Ok);
    f.command2->Click();

    QVERIFY(hasNoEnglish(text, path));
    QCOMPARE(rowsOf(*f.l), (QStringList{"кот", "ток"}));
    QCOMPARE(f.WordCount, 2);
    QCOMPARE(f.l1->Caption(), QStringLiteral("2"));
    QVERIFY(isIdle(f));
}

void TestHostileInputs::saveRefusesWithoutBlocking_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO without a reader") << "fifo" << NotRegular;
    QTest::newRow("socket") << "socket" << NotRegular;
    QTest::newRow("folder") << "folder" << IsFolder;
    QTest::newRow("missing folder") << "no-such-folder/found.txt" << NotFound;
    QTest::newRow("path under a file") << "under a file" << NotADirectory;
}

void TestHostileInputs::saveRefusesWithoutBlocking()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = hostilePath(h->dir, kind);
    if (path.isEmpty())
        QSKIP("cannot make that kind of file here");
    AnsiTextWriter writer;
    QVERIFY(!writer.open(path));
    QCOMPARE(writer.errorString(), reason);
}

void TestHostileInputs::fullDiskLeavesTheWindowIdle()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    FrmMain& f = h->form();
    // Enough words that the disk fills while the loop runs, not only at the close.
    QStringList words;
    for (int i = 0; i < 30000; ++i)
        words.append(QStringLiteral("кот"));
    h->importWords(words);
    h->search(QStringLiteral("кот"), true, words.size());

    const QString path = QStringLiteral("/dev/full");
    const QString text = QStringLiteral("Не удалось сохранить файл:\n%1\n\n%2\n\nФайл записан не полностью.")
                             .arg(path, NoSpace);
    bool idleBehindTheBox = false;
    bool barEmptyBehindTheBox = false;
    h->pump.reset();
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->error(text), Answer::Ok, [&] {
        idleBehindTheBox = isIdle(f);
        barEmptyBehindTheBox = !f.xb->CaptionShow() && f.xb->Value() == QStringLiteral("0");
    });
    f.bsave->Click();

    QVERIFY(h->pump.passes() < words.size()); // it stopped at the failure
    QVERIFY(idleBehindTheBox);
    QVERIFY(barEmptyBehindTheBox);
    QVERIFY(hasNoEnglish(text, path));
    QVERIFY(isIdle(f));
}

void TestHostileInputs::everyFileErrorReadsInRussian_data()
{
    QTest::addColumn<FileError::Action>("action");
    QTest::addColumn<QString>("unknown");
    QTest::newRow("open") << FileError::Action::Open << QStringLiteral("Не удалось открыть файл.");
    QTest::newRow("read") << FileError::Action::Read << QStringLiteral("Ошибка чтения файла.");
    QTest::newRow("write") << FileError::Action::Write << QStringLiteral("Ошибка записи в файл.");
}

void TestHostileInputs::everyFileErrorReadsInRussian()
{
    QFETCH(FileError::Action, action);
    QFETCH(QString, unknown);
    for (int code = 0; code < 140; ++code) {
        const QString text = FileError::describe(code, action);
        QVERIFY2(hasNoEnglish(text, QString()) && text.endsWith(QLatin1Char('.')), qPrintable(text));
    }
    QCOMPARE(FileError::describe(EIO, action), unknown);
    QCOMPARE(FileError::describe(ENOSPC, action), NoSpace);
    QCOMPARE(FileError::describe(9999, action), unknown + QStringLiteral(" Код ошибки: 9999."));
}

void TestHostileInputs::readsNoMoreThanTheSizeAtOpen()
{
    const QString path = h->writeBytes("one\r\ntwo\r\n");
    AnsiTextReader reader;
    QVERIFY(reader.open(path));
    QFile grower(path);
    QVERIFY(grower.open(QIODevice::Append));
    grower.write(QByteArray(200000, 'x'));
    grower.close();
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readLine().toString());
    QCOMPARE(lines, (QStringList{"one", "two"}));
    QVERIFY(!reader.hasError());
}

void TestHostileInputs::everyByteDecodesAsTheCodePage()
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
    AnsiTextReader reader;
    QVERIFY(reader.open(h->writeBytes(bytes)));
    QVERIFY(!reader.atEnd());
    QCOMPARE(reader.readLine().toString(), decoded(bytes));
    QVERIFY(reader.atEnd());
}

void TestHostileInputs::longLineKeepsWhatFollows_data()
{
    QTest::addColumn<int>("length");
    for (int length : {65535, 65536, 65537, 131071, 300000})
        QTest::addRow("%d", length) << length;
}

void TestHostileInputs::longLineKeepsWhatFollows()
{
    QFETCH(int, length);
    const QByteArray line = longLfLine(length);
    AnsiTextReader reader;
    QVERIFY(reader.open(h->writeBytes("first\r" + line + "\r\nnext\r" + line + "\rlast")));
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readLine().toString());
    QCOMPARE(lines, (QStringList{"first", decoded(line), "next", decoded(line), "last"}));
}

void TestHostileInputs::longLfLineIsOneEntry_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<qsizetype>("listed");
    QTest::newRow("whole file") << false << Answer::Ok << QStringList{"b", "c"} << qsizetype(3);
    QTest::newRow("cancel kept") << true << Answer::Yes << QStringList{} << qsizetype(1);
    QTest::newRow("cancel emptied") << true << Answer::No << QStringList{} << qsizetype(0);
    QTest::newRow("cancel declined") << true << Answer::Cancel << QStringList{"b", "c"} << qsizetype(3);
}

void TestHostileInputs::longLfLineIsOneEntry()
{
    QFETCH(bool, cancel);
    QFETCH(Answer, answer);
    QFETCH(QStringList, rest);
    QFETCH(qsizetype, listed);
    FrmMain& f = h->form();
    const QByteArray line = longLfLine(3 << 20);
    const QString entry = decoded(line).remove(QLatin1Char(' '));
    h->dialogs.expectOpen(h->writeBytes(line + "\r\nb\r\nc"));

    bool seenWhole = false;
    if (cancel) {
        // The click lands while the long line's pass delivers events: by then the
        // line is listed, stored and counted.
        h->pump.at(1, [&] {
            h->dialogs.expectMessage(h->importQuestion(), answer, [&] {
                seenWhole = f.l->count() == 1 && f.l->item(0) == entry && f.WordCount == 1
                    && Module1::DictionaryWords.at(1) == entry && f.l1->Caption() == QStringLiteral("1");
            });
            if (answer == Answer::Cancel)
                h->dialogs.expectMessage(h->importDone(1 + rest.size()), Answer::Ok);
            f.command2->Click();
        });
    } else {
        h->dialogs.expectMessage(h->importDone(1 + rest.size()), Answer::Ok);
    }
    f.command2->Click();

    QCOMPARE(seenWhole, cancel);
    QVERIFY(h->pump.withinItemCalls() > 0);
    QCOMPARE(f.WordCount, 1 + rest.size());
    QCOMPARE(Module1::DictionaryWords.at(1), entry);
    QCOMPARE(Module1::DictionaryWords.toList().mid(2), rest);
    QCOMPARE(f.l->count(), listed);
    QVERIFY(isIdle(f));
}

void TestHostileInputs::timersRunInsideALongLine()
{
    FrmMain& f = h->form();
    QtEventPump realPump(0); // delivers at every call
    EventPump::install(&realPump);
    int ticksInsideTheLine = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticksInsideTheLine += f.WordCount == 0; });
    timer.start(0);
    h->dialogs.expectOpen(h->writeBytes(longLfLine(4 << 20)));
    h->dialogs.expectMessage(h->importDone(1), Answer::Ok);
    f.command2->Click();
    timer.stop();
    EventPump::install(&h->pump);
    QCOMPARE(f.WordCount, 1);
    QVERIFY(ticksInsideTheLine > 0);
}

QTEST_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
