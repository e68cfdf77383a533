#include "../words/word_array_contents.h"
#include "address_space_limit.h"
#include "form_harness.h"
#include "file_kinds.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "services/qt_event_pump.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <utility>

using Answer = Dialogs::Answer;

namespace {

QString decoded(const QByteArray& bytes)
{
    return QStringDecoder("windows-1251").decode(bytes);
}

// Its first delivery inside an item takes longer than the import holds input back.
struct SlowLinePump : ScriptedEventPump {
    bool slept = false;
    void processPendingEventsExceptInput() override
    {
        if (!std::exchange(slept, true))
            QThread::msleep(600);
        ScriptedEventPump::processPendingEventsExceptInput();
    }
};

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(1000000 + i) + "\r\n";
    return bytes;
}

} // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT
private slots:
    void init() { h = std::make_unique<FormHarness>(); }
    void cleanup() { closeHarness(h); }

    void longLfLineIsOneEntry_data();
    void longLfLineIsOneEntry();
    void timersRunInsideALongLine();
    void stopInsideAVeryLongLine_data();
    void stopInsideAVeryLongLine();
    void outOfMemory_data();
    void outOfMemory();
    void clicksBehindAConfirmedCancel_data();
    void clicksBehindAConfirmedCancel();

private:
    std::unique_ptr<FormHarness> h;
};

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
                seenWhole = f.l->count() == 1 && f.l->item(0).toString() == entry && f.WordCount == 1
                    && textAt(Module1::DictionaryWords, 1) == entry && f.l1->Caption() == QStringLiteral("1");
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
    QCOMPARE(textAt(Module1::DictionaryWords, 1), entry);
    QCOMPARE(contentsOf(Module1::DictionaryWords).mid(2), rest);
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

void TestHostileInputs::stopInsideAVeryLongLine_data()
{
    QTest::addColumn<bool>("close");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("stored");
    QTest::addColumn<qsizetype>("listed");
    QTest::newRow("Yes lets go of the line") << false << Answer::Yes << 1 << qsizetype(1);
    QTest::newRow("No lets go of it, list emptied") << false << Answer::No << 1 << qsizetype(0);
    QTest::newRow("Cancel reads it to its end") << false << Answer::Cancel << 3 << qsizetype(3);
    QTest::newRow("closing the window") << true << Answer::Ok << 1 << qsizetype(1);
}

void TestHostileInputs::stopInsideAVeryLongLine()
{
    QFETCH(bool, close);
    QFETCH(Answer, answer);
    QFETCH(int, stored);
    QFETCH(qsizetype, listed);
    FrmMain& f = h->form();
    SlowLinePump pump;
    EventPump::install(&pump);
    h->dialogs.expectOpen(h->writeBytes("a\r\n" + longLfLine(3 << 20) + "\r\nb"));
    bool askedOverTheWordBefore = false;
    pump.at(2, [&] { // pass 1 is "a"; the next delivery with input comes inside the long line
        if (close)
            return f.endProgram();
        h->dialogs.expectMessage(h->importQuestion(), answer, [&] { askedOverTheWordBefore = rowsOf(*f.l) == QStringList{"a"}; });
        if (answer == Answer::Cancel)
            h->dialogs.expectMessage(h->importDone(3), Answer::Ok);
        f.command2->Click();
    });
    f.command2->Click();
    EventPump::install(&h->pump);

    QCOMPARE(askedOverTheWordBefore, !close);
    QCOMPARE(f.WordCount, stored);
    QCOMPARE(Module1::DictionaryWords.size(), stored + 1);
    QCOMPARE(f.l->count(), listed);
    QCOMPARE(f.l1->Caption(), QString::number(stored));
    QVERIFY(close || isIdle(f));
}

void TestHostileInputs::outOfMemory_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<qint64>("headroom");
    QTest::addColumn<QString>("box");
    QTest::newRow("import") << 0 << qint64(8 << 20)
                            << "Не удалось дочитать файл словаря:\n%1\n\nНедостаточно памяти.\n\nИмпортировано слов до ошибки: %2";
    QTest::newRow("search") << 1 << qint64(2 << 20) << "Не удалось завершить поиск.\n\nНедостаточно памяти.";
    QTest::newRow("save, a word too long for the buffer")
        << 2 << qint64(4 << 20) << "Не удалось сохранить файл:\n%1\n\nНедостаточно памяти.\n\nФайл записан не полностью.";
}

// Each operation ends as a failure: the window idle, the box, the program alive, and what
// was held before kept.
void TestHostileInputs::outOfMemory()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    QSKIP("a sanitizer's shadow memory leaves no address space to limit");
#endif
    QFETCH(int, operation);
    QFETCH(qint64, headroom);
    QFETCH(QString, box);
    FrmMain& f = h->form();
    const int words = operation == 0 ? 1000000 : 300000;
    const QString path = operation < 2 ? h->writeBytes(numberedLines(words)) : QString();
    const QString saved = h->dir.filePath(QStringLiteral("found.txt"));
    if (operation == 1) {
        h->dialogs.expectOpen(path);
        h->dialogs.expectMessage(h->importDone(words), Answer::Ok);
        f.command2->Click();
        f.t1->setText(QStringLiteral("0123456789").repeated(7));
        f.o2->setChecked(true); // every word is found
    }
    // The long word («жжж…», past what the C library keeps on its heap) finds no room in the file's buffer.
    for (const QString& word : operation == 2 ? QStringList{"кот", QString(40 << 20, u'ж'), "ток"} : QStringList{}) {
        Module1::GrowFoundWords(f.FoundCount++);
        Module1::FoundWords.set(f.FoundCount - 1, WordView(stored(word)));
        f.r->appendRow();
    }
    h->dialogs.clear();
    if (operation == 0)
        h->dialogs.expectOpen(path);
    if (operation == 2)
        h->dialogs.expectSave(saved);
    {
        AddressSpaceLimit limit(headroom);
        if (!limit.active)
            QSKIP("cannot limit the address space here");
        QList<XPButton*>{f.command2, f.command1, f.bsave}.at(operation)->Click();
    }
    const QList<ScriptedDialogs::Box> shown = h->dialogs.shown();
    h->dialogs.clear();

    const qint64 dictionary = operation == 0 ? f.WordCount : operation == 1 ? words : 0;
    QVERIFY(operation != 0 || (0 < dictionary && dictionary < words));
    QCOMPARE(f.WordCount, dictionary);
    QCOMPARE(f.l->count(), dictionary);
    QCOMPARE(f.l1->Caption(), QString::number(dictionary));
    if (dictionary > 0)
        QCOMPARE(textAt(Module1::DictionaryWords, dictionary), QString::number(999999 + dictionary));
    // A search keeps what it stored, listed and counted.
    QCOMPARE(f.r->count(), operation == 2 ? 3 : f.FoundCount);
    QVERIFY(f.FoundCount <= Module1::FoundWords.size());
    if (operation == 1 && f.FoundCount > 0)
        QCOMPARE(rowsOf(*f.r).constLast(), QString::number(999999 + f.FoundCount));
    if (operation == 2)
        QCOMPARE(h->readBytes(saved), QByteArray("\xEA\xEE\xF2\r\n"));
    const QString text = box.arg(operation == 0 ? path : saved).arg(dictionary);
    QVERIFY2(shown == QList<ScriptedDialogs::Box>{h->error(text)}, qPrintable(shown.value(0).text));
    QVERIFY(isIdle(f) && !f.xb->CaptionShow());
}

void TestHostileInputs::clicksBehindAConfirmedCancel_data()
{
    QTest::addColumn<int>("running"); // 0 import, 1 search, 2 save
    QTest::addColumn<int>("clicked");
    for (int running = 0; running < 3; ++running) {
        for (int clicked = 0; clicked < 3; ++clicked)
            QTest::addRow("%d then %d", running, clicked) << running << clicked;
    }
}

// A second click in the batch of the confirmed cancel, while the cancelled loop is still on
// the stack, opens nothing (the harness fails on any box it was not told to expect), and the
// cancelled operation stops after the item it was in.
void TestHostileInputs::clicksBehindAConfirmedCancel()
{
    QFETCH(int, running);
    QFETCH(int, clicked);
    FrmMain& f = h->form();
    h->importWords({"кот", "ток", "кто"});
    h->search(QStringLiteral("кот"), true, 3);
    const QList<XPButton*> buttons{f.command2, f.command1, f.bsave};
    const QString saved = h->dir.filePath(QStringLiteral("found.txt"));
    if (running == 0)
        h->dialogs.expectOpen(h->writeWords({"а", "б", "в"}, QStringLiteral("next.txt")));
    if (running == 2)
        h->dialogs.expectSave(saved);
    h->dialogs.expectMessage(QList{h->importQuestion(), h->searchQuestion(), h->saveQuestion()}[running], Answer::Yes);
    h->pump.reset();
    h->pump.at(2, [&] { buttons[running]->Click(), buttons[clicked]->Click(); });
    buttons[running]->Click();
    QVERIFY(isIdle(f));
    const QList<qint64> counts{f.WordCount, f.l->count(), f.FoundCount, f.r->count(), f.l2->Caption().toLongLong()};
    QCOMPARE(counts, (running == 0 ? QList<qint64>{2, 2, 3, 3, 3} : running == 1 ? QList<qint64>{3, 3, 2, 2, 2}
                                                                                  : QList<qint64>{3, 3, 3, 3, 3}));
    QCOMPARE(h->readBytes(saved), running == 2 ? QByteArray("\xEA\xEE\xF2\r\n\xF2\xEE\xEA\r\n") : "<cannot read>");
}

QTEST_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
