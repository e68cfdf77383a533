#include "operations/progress_protocol.h"
#include "progress_bar/xp_progress_bar.h"

#include <QtTest>

class TestProgressProtocol : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
    void totalsBeyondThirtyTwoBits_data();
    void totalsBeyondThirtyTwoBits();
    void startCaptionAndReset();
};

void TestProgressProtocol::steps_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("weight");
    QTest::addColumn<QStringList>("captions"); // after each of the first steps
    QTest::addColumn<QStringList>("values");
    QTest::newRow("below 100: every item") << qint64(40) << qint64(1) << QStringList{"2%", "5%", "7%", "10%"}
                                           << QStringList{"1", "2", "3", "4"};
    QTest::newRow("250: by 2 every second item") << qint64(250) << qint64(1)
                                                 << QStringList{"0%", "0%", "0%", "1%", "1%", "2%"}
                                                 << QStringList{"0", "2", "2", "4", "4", "6"};
    QTest::newRow("heavy items") << qint64(1000) << qint64(7) << QStringList{"0%", "1%", "1%", "2%"}
                                 << QStringList{"0", "14", "14", "28"};
}

void TestProgressProtocol::steps()
{
    QFETCH(qint64, total);
    QFETCH(qint64, weight);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, values);
    XPProgressBar bar;
    qint64 stepCounter = 0;
    ProgressProtocol progress(bar, stepCounter);
    progress.start(total, QStringLiteral("P "), true);
    for (qsizetype i = 0; i < captions.size(); ++i) {
        progress.step(weight, total);
        QCOMPARE(bar.Caption(), QStringLiteral("P ") + captions.at(i));
        QCOMPARE(bar.Value(), values.at(i));
    }
    progress.finish();
    QCOMPARE(bar.Value(), QString::number(total));
    QCOMPARE(bar.Caption(), QStringLiteral("P 100%"));
}

void TestProgressProtocol::totalsBeyondThirtyTwoBits_data()
{
    QTest::addColumn<qint64>("total");
    QTest::newRow("just over 21,474,836") << qint64(21474837 * 2);
    QTest::newRow("over 2^31") << qint64(3000000000LL);
}

void TestProgressProtocol::totalsBeyondThirtyTwoBits()
{
    // (Value x 100) no longer fits 32 bits here: the percent must still be right.
    QFETCH(qint64, total);
    XPProgressBar bar;
    qint64 stepCounter = 0;
    ProgressProtocol progress(bar, stepCounter);
    progress.start(total, QString(), true);
    progress.step(total / 2, total);
    QCOMPARE(bar.Caption(), QStringLiteral("50%"));
    progress.step(total - total / 2 - 1, total);
    QCOMPARE(bar.Caption(), QStringLiteral("99%"));
    progress.finish();
    QCOMPARE(bar.Caption(), QStringLiteral("100%"));
    QCOMPARE(bar.Value(), QString::number(total));
}

void TestProgressProtocol::startCaptionAndReset()
{
    XPProgressBar bar;
    qint64 stepCounter = 5;
    ProgressProtocol progress(bar, stepCounter);
    bar.setCaption(QStringLiteral("last caption"));
    progress.start(3, QStringLiteral("Сохранение слов. Завершено "), false);
    QCOMPARE(bar.Caption(), QStringLiteral("last caption"));
    QCOMPARE(stepCounter, 0);
    QVERIFY(bar.CaptionShow());
    QCOMPARE(bar.Max(), QStringLiteral("3"));
    progress.step(1, 3);
    QCOMPARE(bar.Caption(), QStringLiteral("Сохранение слов. Завершено 33%"));
    progress.reset();
    QCOMPARE(bar.Value(), QStringLiteral("0"));
    QVERIFY(!bar.CaptionShow());
    QCOMPARE(bar.Max(), QStringLiteral("3"));
    QCOMPARE(bar.Caption(), QStringLiteral("Сохранение слов. Завершено 33%"));
}

QTEST_MAIN(TestProgressProtocol)
#include "tst_progress_protocol.moc"
