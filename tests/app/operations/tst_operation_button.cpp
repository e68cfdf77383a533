#include "form_harness.h"
#include "push_button/xp_button.h"
#include "shadow_label/xp_shadow.h"
#include "words/module1.h"

#include <QLineEdit>
#include <QtTest>

using Answer = Dialogs::Answer;

class TestOperationButton : public QObject {
    Q_OBJECT
private slots:
    void init() { h = std::make_unique<FormHarness>(); }
    void cleanup() { closeHarness(h); }

    void clicksBehindAConfirmedCancelStartNothing_data();
    void clicksBehindAConfirmedCancelStartNothing();

private:
    std::unique_ptr<FormHarness> h;
};

void TestOperationButton::clicksBehindAConfirmedCancelStartNothing_data()
{
    QTest::addColumn<int>("running"); // 0 import, 1 search, 2 save
    QTest::addColumn<int>("clicked");
    const char* names[] = {"import", "search", "save"};
    for (int running = 0; running < 3; ++running) {
        for (int clicked = 0; clicked < 3; ++clicked)
            QTest::addRow("%s, then %s", names[running], names[clicked]) << running << clicked;
    }
}

// The second click comes in the same batch of events as the confirmed cancel, while the
// cancelled loop is still on the stack: it must open no dialog (the scripted dialogs fail on
// any they were not told to expect), and the cancelled operation stops where it was.
void TestOperationButton::clicksBehindAConfirmedCancelStartNothing()
{
    QFETCH(int, running);
    QFETCH(int, clicked);
    FrmMain& f = h->form();
    const QStringList words{"кот", "ток", "окт", "кто", "отк"};
    h->importWords(words);
    h->search(QStringLiteral("кот"), true, words.size());
    const QList<XPButton*> buttons{f.command2, f.command1, f.bsave};
    const QList<ScriptedDialogs::Box> questions{h->importQuestion(), h->searchQuestion(), h->saveQuestion()};
    const QString saved = h->dir.filePath(QStringLiteral("found.txt"));
    if (running == 0)
        h->dialogs.expectOpen(h->writeWords(QStringList{"а", "б", "в", "г", "д"}, QStringLiteral("next.txt")));
    if (running == 2)
        h->dialogs.expectSave(saved);
    h->dialogs.expectMessage(questions[running], Answer::Yes);
    h->pump.reset();
    h->pump.at(2, [&] {
        buttons[running]->Click();
        buttons[clicked]->Click();
    });
    buttons[running]->Click();

    QCOMPARE(h->pump.passes(), 2);
    QVERIFY(isIdle(f));
    QCOMPARE(f.WordCount, running == 0 ? 2 : qint64(words.size()));
    QCOMPARE(qint64(f.l->count()), f.WordCount);
    QCOMPARE(f.FoundCount, running == 1 ? 2 : qint64(words.size()));
    QCOMPARE(qint64(f.r->count()), f.FoundCount);
    QCOMPARE(f.l2->Caption(), QString::number(running == 1 ? 2 : words.size()));
    if (running == 2)
        QCOMPARE(h->readBytes(saved), QByteArray("\xEA\xEE\xF2\r\n\xF2\xEE\xEA\r\n"));
}

QTEST_MAIN(TestOperationButton)
#include "tst_operation_button.moc"
