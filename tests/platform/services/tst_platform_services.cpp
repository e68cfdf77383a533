#include "scripted_dialogs.h"
#include "services/qt_event_pump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include <memory>

using Box = ScriptedDialogs::Box;
using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

Q_DECLARE_METATYPE(ScriptedDialogs::Box)
Q_DECLARE_METATYPE(Dialogs::Answer)

namespace {

const Box cancelQuestion{QStringLiteral("Прервать импорт?"), QStringLiteral("Операция прервана пользователем"),
                         Icon::Question, Buttons::YesNo};

Box with(Box box, void (*change)(Box&))
{
    change(box);
    return box;
}

// Far more calls than an 8 ms pump needs on any machine, so a pump that never delivers
// still ends the test.
constexpr qint64 CallCap = 2'000'000'000;

class PostedEvent : public QEvent {
public:
    PostedEvent(QStringList& log) : QEvent(QEvent::User), log_(log) {}
    ~PostedEvent() override { log_.append(QStringLiteral("event")); }

private:
    QStringList& log_;
};

// Posting a user event to a plain QObject: it is consumed (and destroyed) on delivery.
class Receiver : public QObject {
public:
    bool event(QEvent* event) override { return event->type() == QEvent::User || QObject::event(event); }
};

} // namespace

// Records which calls reach the pump's own check; each check asks for the next one
// `strides[k]` calls later (0 or less: at the next call, as if it asked nothing).
class CountingPump : public EventPump {
public:
    explicit CountingPump(QList<int> strides) : strides_(std::move(strides)) {}
    void call()
    {
        ++calls_;
        processPendingEvents();
    }
    QList<int> checkedAt;

protected:
    void checkPendingEvents() override
    {
        checkedAt << calls_;
        if (!strides_.isEmpty()) {
            const int stride = strides_.takeFirst();
            if (stride > 0)
                setCountdown(stride);
        }
    }

private:
    QList<int> strides_;
    int calls_ = 0;
};

class TestPlatformServices : public QObject {
    Q_OBJECT

private slots:
    void scriptedMessage_data();
    void scriptedMessage();
    void whileShownMayShowTheNextBox();
    void unexpectedFileDialog();
    void pumpDeliversPostedWork_data();
    void pumpDeliversPostedWork();
    void pumpChecksAfterItsCountdown_data();
    void pumpChecksAfterItsCountdown();
};

void TestPlatformServices::scriptedMessage_data()
{
    QTest::addColumn<bool>("scripted");
    QTest::addColumn<Box>("shown");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("failed");

    QTest::newRow("as expected") << true << cancelQuestion << Answer::Yes << false;
    QTest::newRow("text differs by a space")
        << true << with(cancelQuestion, [](Box& b) { b.text += QLatin1Char(' '); }) << Answer::No << true;
    QTest::newRow("other title") << true << with(cancelQuestion, [](Box& b) { b.title = QStringLiteral("Ошибка"); })
                                 << Answer::No << true;
    QTest::newRow("other icon") << true << with(cancelQuestion, [](Box& b) { b.icon = Icon::Information; })
                                << Answer::No << true;
    QTest::newRow("other buttons") << true << with(cancelQuestion, [](Box& b) { b.buttons = Buttons::YesNoCancel; })
                                   << Answer::Cancel << true;
    QTest::newRow("nothing expected, OK box")
        << false << Box{QStringLiteral("Сохранение завершено"), QString(), Icon::Information, Buttons::Ok}
        << Answer::Ok << true;
    QTest::newRow("nothing expected, question") << false << cancelQuestion << Answer::No << true;
}

// A wrong box must not take the scripted answer: the safe one keeps an operation from
// being cancelled or a file from being overwritten by accident.
void TestPlatformServices::scriptedMessage()
{
    QFETCH(bool, scripted);
    QFETCH(Box, shown);
    QFETCH(Answer, answer);
    QFETCH(bool, failed);
    ScriptedDialogs dialogs;
    bool userActed = false;
    if (scripted)
        dialogs.expectMessage(cancelQuestion, Answer::Yes, [&] { userActed = true; });

    QCOMPARE(dialogs.message(shown.text, shown.title, shown.icon, shown.buttons), answer);
    QCOMPARE(dialogs.failures().size(), failed ? 1 : 0);
    QCOMPARE(userActed, !failed);
    QCOMPARE(dialogs.pending(), scripted && failed ? 1 : 0);
    QCOMPARE(dialogs.shown().size(), 1);
    QVERIFY(dialogs.shown().first() == shown);
}

// The user's action while a box is up may raise the next box (a nested cancel question);
// that one must meet the next expectation, and the first box is answered only afterwards.
void TestPlatformServices::whileShownMayShowTheNextBox()
{
    ScriptedDialogs dialogs;
    const Box done{QStringLiteral("Импорт завершён"), QString(), Icon::Information, Buttons::Ok};
    QStringList log;
    dialogs.expectMessage(done, Answer::Ok, [&] {
        log << QStringLiteral("shown");
        const Answer nested = dialogs.message(cancelQuestion.text, cancelQuestion.title, cancelQuestion.icon,
                                              cancelQuestion.buttons);
        log << QStringLiteral("nested %1").arg(int(nested));
    });
    dialogs.expectMessage(cancelQuestion, Answer::Yes);

    const Answer first = dialogs.message(done.text, done.title, done.icon, done.buttons);
    log << QStringLiteral("answered %1").arg(int(first));
    QVERIFY2(dialogs.failures().isEmpty(), qPrintable(dialogs.failures().join('\n')));
    QCOMPARE(log, QStringList({"shown", QStringLiteral("nested %1").arg(int(Answer::Yes)),
                               QStringLiteral("answered %1").arg(int(Answer::Ok))}));
    QCOMPARE(dialogs.pending(), 0);
}

void TestPlatformServices::unexpectedFileDialog()
{
    ScriptedDialogs dialogs;
    dialogs.expectOpen(QStringLiteral("/tmp/words.txt"));
    // Asked to save where an open was expected: cancelled, recorded, the open still pending.
    QCOMPARE(dialogs.saveFileName(QStringLiteral("Текст|*.txt")), QString());
    QCOMPARE(dialogs.failures().size(), 1);
    QCOMPARE(dialogs.pending(), 1);
    QCOMPARE(dialogs.openFileName(QStringLiteral("Текст|*.txt")), QStringLiteral("/tmp/words.txt"));
    QCOMPARE(dialogs.failures().size(), 1);
    QCOMPARE(dialogs.filters(), QStringList({"Текст|*.txt", "Текст|*.txt"}));
}

void TestPlatformServices::pumpDeliversPostedWork_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("zero timer") << "timer";
    QTest::newRow("queued call") << "queued";
    QTest::newRow("posted event") << "event";
}

// Called in a tight loop, as a long operation does, the pump must still run the event loop
// now and then; and the loop's lazy display is brought up to date before anything is delivered.
void TestPlatformServices::pumpDeliversPostedWork()
{
    QFETCH(QString, how);
    QStringList log; // outlives the receiver, whose undelivered events write to it when destroyed
    QtEventPump pump;
    Receiver receiver;
    auto hooks = std::make_unique<EventPump::BeforeDelivery>(pump, [&] { log << QStringLiteral("hook"); });
    EventPump::BeforeDelivery second(pump, [&] { log << QStringLiteral("second hook"); });

    for (int round = 0; round < 2; ++round) {
        log.clear();
        if (how == "timer")
            QTimer::singleShot(0, &receiver, [&] { log << QStringLiteral("event"); });
        else if (how == "queued")
            QMetaObject::invokeMethod(&receiver, [&] { log << QStringLiteral("event"); }, Qt::QueuedConnection);
        else
            QCoreApplication::postEvent(&receiver, new PostedEvent(log));

        for (qint64 calls = 0; calls < CallCap && !log.contains(QStringLiteral("event")); ++calls)
            pump.processPendingEvents();
        QVERIFY2(log.contains(QStringLiteral("event")), "posted work never delivered");
        QCOMPARE(log.mid(0, 2), (QStringList{QStringLiteral("hook"), QStringLiteral("second hook")}));
        QVERIFY(log.indexOf(QStringLiteral("event")) > 1);
    }
    QVERIFY(pump.statistics().deliveries >= 2);

    // A hook that goes leaves the others in place.
    hooks.reset();
    log.clear();
    QMetaObject::invokeMethod(&receiver, [&] { log << QStringLiteral("event"); }, Qt::QueuedConnection);
    for (qint64 calls = 0; calls < CallCap && !log.contains(QStringLiteral("event")); ++calls)
        pump.processPendingEvents();
    QCOMPARE(log, (QStringList{QStringLiteral("second hook"), QStringLiteral("event")}));
}

void TestPlatformServices::pumpChecksAfterItsCountdown_data()
{
    QTest::addColumn<QList<int>>("strides");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("never sets one: every call") << QList<int>{} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("stride 1") << QList<int>{1, 1, 1} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("stride 3") << QList<int>{3, 3, 3, 3} << QList<int>{1, 4, 7, 10};
    QTest::newRow("stride changes") << QList<int>{2, 5, 1} << QList<int>{1, 3, 8, 9, 10};
    QTest::newRow("a zero means the next call") << QList<int>{4, 0, 2} << QList<int>{1, 5, 6, 8, 9, 10};
}

// The decrement between checks is inline in the base class; whatever the pump asks for,
// the check must come exactly that many calls later, and at every call when it asks nothing.
void TestPlatformServices::pumpChecksAfterItsCountdown()
{
    QFETCH(QList<int>, strides);
    QFETCH(QList<int>, expected);
    CountingPump pump(strides);
    for (int k = 0; k < 10; ++k)
        pump.call();
    QCOMPARE(pump.checkedAt, expected);
}

QTEST_MAIN(TestPlatformServices)
#include "tst_platform_services.moc"
