#include "../words/word_array_contents.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "services/qt_event_pump.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

#include <QTimer>
#include <QtTest>

using Answer = Dialogs::Answer;

namespace {

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

    void longLfLineIsOneEntry_data();
    void longLfLineIsOneEntry();
    void timersRunInsideALongLine();

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

QTEST_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
