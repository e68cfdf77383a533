#include "../words/word_array_contents.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "shadow_label/xp_shadow.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using Answer = Dialogs::Answer;

namespace {
const QStringList NineWords{"аба", "баа", "Аба", "ба", "б", "абб", "баба", "", "бак"};
}

class TestWordSearch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void inputChecks_data();
    void inputChecks();
    void findsTheWorkedExamples_data();
    void findsTheWorkedExamples();
    void lettersAreCleanedOfSpaces();
    void lettersHaveNoLengthLimit();
    void spacesOnlyRunsAndFindsNothing();
    void cancel_data();
    void cancel();
    void cancelDuringTheLastWordFinishesNormally();
    void progressAdvance_data();
    void progressAdvance();
    void controlsWhileRunning();
    void dictionaryLongerThanAStoreBlock_data();
    void dictionaryLongerThanAStoreBlock();

private:
    std::unique_ptr<FormHarness> h;
};

void TestWordSearch::init() { h = std::make_unique<FormHarness>(); }

void TestWordSearch::cleanup()
{
    closeHarness(h);
}

void TestWordSearch::inputChecks_data()
{
    QTest::addColumn<QStringList>("dictionary");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("message");
    QTest::newRow("no letters") << QStringList{"кот"} << "" << "Введите буквы для поиска";
    QTest::newRow("no dictionary") << QStringList{} << "кот" << "Откройте словарь для поиска";
    QTest::newRow("first entry empty") << QStringList{"", "кот"} << "кот" << "Откройте словарь для поиска";
}

void TestWordSearch::inputChecks()
{
    QFETCH(QStringList, dictionary);
    QFETCH(QString, letters);
    QFETCH(QString, message);
    FrmMain& f = h->form();
    if (!dictionary.isEmpty())
        h->importWords(dictionary);
    f.t1->setText(letters);
    h->dialogs.expectMessage(h->error(message), Answer::Ok);
    f.command1->Click();
    QCOMPARE(f.r->count(), 0);
    QCOMPARE(f.l2->Caption(), QStringLiteral("0"));
    QVERIFY(isIdle(f));
}

void TestWordSearch::findsTheWorkedExamples_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("аба exact") << "аба" << true << QStringList{"аба", "баа", "Аба"};
    QTest::newRow("аба compose") << "аба" << false << QStringList{"баа", "ба", "б", ""};
    QTest::newRow("Кот exact") << "Кот" << true << QStringList{};
    QTest::newRow("АБА compose: only the empty entry") << "АБА" << false << QStringList{""};
}

void TestWordSearch::findsTheWorkedExamples()
{
    QFETCH(QString, letters);
    QFETCH(bool, exact);
    QFETCH(QStringList, found);
    FrmMain& f = h->form();
    h->importWords(NineWords);
    h->search(letters, exact, found.size());
    QCOMPARE(rowsOf(*f.r), found);
    QCOMPARE(f.FoundCount, found.size());
    QCOMPARE(contentsOf(Module1::FoundWords).mid(0, found.size()), found);
    QCOMPARE(f.l2->Caption(), QStringLiteral("9"));
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
    QCOMPARE(f.xb->Value(), QStringLiteral("0"));
    QCOMPARE(f.xb->Max(), QStringLiteral("9"));
}

void TestWordSearch::lettersAreCleanedOfSpaces()
{
    FrmMain& f = h->form();
    h->importWords(NineWords);
    h->pump.at(1, [&] { QCOMPARE(f.t1->text(), QStringLiteral("аба")); });
    h->search(QStringLiteral(" а б  а "), true, 3);
    QCOMPARE(f.t1->text(), QStringLiteral("аба"));
    QCOMPARE(rowsOf(*f.r), (QStringList{"аба", "баа", "Аба"}));
}

void TestWordSearch::lettersHaveNoLengthLimit()
{
    const QString word = QString(20000, u'б') + QString(20000, u'а');
    h->importWords({word, word.mid(1)});
    h->search(QStringLiteral("а") + word.chopped(1), true, 1);
    QCOMPARE(rowsOf(*h->form().r), QStringList{word});
}

void TestWordSearch::spacesOnlyRunsAndFindsNothing()
{
    FrmMain& f = h->form();
    h->importWords({"кот", "", "ток"});
    f.t1->setText(QStringLiteral("   "));
    // The click during the search meets the empty box, not the cancel question.
    h->pump.reset();
    h->pump.at(2, [&] { f.command1->Click(); });
    h->dialogs.expectMessage(h->error(QStringLiteral("Введите буквы для поиска")), Answer::Ok);
    h->dialogs.expectMessage(h->searchDone(0), Answer::Ok);
    f.command1->Click();
    QCOMPARE(h->pump.passes(), 3);
    QCOMPARE(f.r->count(), 0);
    QCOMPARE(f.l2->Caption(), QStringLiteral("3"));
    QCOMPARE(f.t1->text(), QString());
}

void TestWordSearch::cancel_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("finished");
    // Words found in compose mode for "кот": к, от, ток (pass 5), кто (pass 6).
    QTest::newRow("Cancel goes on") << int(Answer::Cancel) << QStringList{"к", "от", "ток", "кто"} << true;
    QTest::newRow("Yes keeps the words found") << int(Answer::Yes) << QStringList{"к", "от", "ток"} << false;
    QTest::newRow("No empties the list") << int(Answer::No) << QStringList{} << false;
}

void TestWordSearch::cancel()
{
    QFETCH(int, answer);
    QFETCH(QStringList, listed);
    QFETCH(bool, finished);
    FrmMain& f = h->form();
    h->importWords({"к", "кит", "от", "слон", "ток", "кто", "ух"});
    f.t1->setText(QStringLiteral("кот"));
    f.o2->setChecked(true);
    h->pump.reset();
    h->pump.at(5, [&] { f.command1->Click(); });
    h->dialogs.expectMessage(h->searchQuestion(), Answer(answer));
    if (finished) {
        h->pump.at(6, [&] { QCOMPARE(f.command1->Caption(), QStringLiteral("Отмена")); });
        h->dialogs.expectMessage(h->searchDone(4), Answer::Ok);
    }
    f.command1->Click();
    QCOMPARE(rowsOf(*f.r), listed);
    QCOMPARE(f.FoundCount, finished ? 4 : 3);
    QCOMPARE(contentsOf(Module1::FoundWords).mid(0, 3), (QList<QString>{"к", "от", "ток"}));
    QCOMPARE(f.l2->Caption(), finished ? QStringLiteral("7") : QStringLiteral("5"));
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
}

void TestWordSearch::cancelDuringTheLastWordFinishesNormally()
{
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    f.t1->setText(QStringLiteral("кот"));
    h->pump.reset();
    h->pump.at(2, [&] { f.command1->Click(); });
    h->dialogs.expectMessage(h->searchQuestion(), Answer::No);
    h->dialogs.expectMessage(h->searchDone(2), Answer::Ok, [&] {
        QCOMPARE(f.xb->Caption(), QStringLiteral("Поиск слов. Завершено 100%"));
    });
    f.command1->Click();
    QCOMPARE(f.r->count(), 0);
    QCOMPARE(f.FoundCount, 2);
    QCOMPARE(f.l2->Caption(), QStringLiteral("2"));
    QVERIFY(isIdle(f));
}

void TestWordSearch::progressAdvance_data()
{
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("stride"); // the pump delivers on every stride'th word
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QStringList>("firstCaptions");
    QTest::addColumn<QStringList>("firstValues");
    QTest::newRow("40 words advance on every word")
        << 40 << 1 << "слово" << QStringList{"2%", "5%", "7%", "10%"} << QStringList{"1", "2", "3", "4"};
    QTest::newRow("250 words advance by 2 every second word")
        << 250 << 1 << "слово" << QStringList{"0%", "0%", "0%", "1%", "1%"} << QStringList{"0", "2", "2", "4", "4"};
    // Words between deliveries are tested together, yet counted one by one, found or not.
    QTest::newRow("250 words none found, delivered on words 1, 4, 7, ...")
        << 250 << 3 << "кот" << QStringList{"0%", "1%", "2%", "4%", "4%"} << QStringList{"0", "4", "6", "10", "12"};
    QTest::newRow("250 words all found, delivered on words 1, 4, 7, ...")
        << 250 << 3 << "слово" << QStringList{"0%", "1%", "2%", "4%", "4%"} << QStringList{"0", "4", "6", "10", "12"};
}

void TestWordSearch::progressAdvance()
{
    QFETCH(int, words);
    QFETCH(int, stride);
    QFETCH(QString, letters);
    QFETCH(QStringList, firstCaptions);
    QFETCH(QStringList, firstValues);
    FrmMain& f = h->form();
    QStringList dictionary;
    for (int i = 0; i < words; ++i)
        dictionary.append(QStringLiteral("слово"));
    h->importWords(dictionary);
    QStringList captions;
    QStringList values;
    QStringList examined;
    h->pump.reset();
    h->pump.stride = stride;
    h->pump.everyPass = [&] {
        captions.append(f.xb->Caption().remove(QStringLiteral("Поиск слов. Завершено ")));
        values.append(f.xb->Value());
        examined.append(f.l2->Caption());
    };
    h->search(letters, true, letters == QStringLiteral("слово") ? words : 0);
    QCOMPARE(captions.mid(0, firstCaptions.size()), firstCaptions);
    QCOMPARE(values.mid(0, firstValues.size()), firstValues);
    QCOMPARE(captions.size(), (words - 1) / stride + 1);
    QCOMPARE(examined.mid(0, 3), (QStringList{"0", QString::number(stride), QString::number(2 * stride)}));
}

void TestWordSearch::controlsWhileRunning()
{
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    f.c1->setChecked(true);
    h->pump.reset();
    h->pump.at(1, [&] {
        QCOMPARE(f.command1->Caption(), QStringLiteral("Отмена"));
        QVERIFY(f.command1->Enabled());
        for (QWidget* w : QList<QWidget*>{f.f1, f.t1, f.c1})
            QVERIFY(!w->isEnabled());
        QVERIFY(!f.command2->Enabled());
        QVERIFY(!f.bsave->Enabled());
        QVERIFY(f.l->isEnabled());
        QVERIFY(f.r->isEnabled());
        QVERIFY(f.c1->isHidden());
    });
    h->search(QStringLiteral("кот"), true, 2);
    QVERIFY(f.c1->isHidden());
    QVERIFY(isIdle(f));
}

void TestWordSearch::dictionaryLongerThanAStoreBlock_data()
{
    QTest::addColumn<int>("cancelAt"); // the pass whose delivery confirms a cancel; 0 for none
    QTest::addColumn<int>("found");
    QTest::addColumn<int>("stride"); // the pump delivers on every stride'th word
    QTest::newRow("whole dictionary") << 0 << 7 << 1;
    QTest::newRow("cancelled just past a block") << 65538 << 4 << 1;
    QTest::newRow("cancelled at a block's last word") << 65536 << 3 << 1;
    QTest::newRow("whole dictionary, delivered on every 997th word") << 0 << 7 << 997;
    QTest::newRow("cancelled on word 65803, every 997th delivered") << 67 << 4 << 997;
}

void TestWordSearch::dictionaryLongerThanAStoreBlock()
{
    QFETCH(int, cancelAt);
    QFETCH(int, found);
    QFETCH(int, stride);
    // The store keeps words in blocks of 65536: words at the edges of the blocks, the
    // first and the last word are found, in order, and a cancel stops where it should.
    const int total = 140000;
    const QList<int> at{1, 65535, 65536, 65537, 131072, 131073, total};
    QStringList words(total, QStringLiteral("мама"));
    QStringList expected;
    for (int k = 0; k < at.size(); ++k) {
        words[at[k] - 1] = k % 2 ? QStringLiteral("Ток") : QStringLiteral("кот");
        expected << words[at[k] - 1];
    }
    FrmMain& f = h->form();
    h->importWords(words);
    f.t1->setText(QStringLiteral("кот"));
    f.o1->setChecked(true);
    h->pump.reset();
    h->pump.stride = stride;
    if (cancelAt != 0) {
        h->pump.at(cancelAt, [&] { f.command1->Click(); });
        h->dialogs.expectMessage(h->searchQuestion(), Answer::Yes);
    } else {
        h->dialogs.expectMessage(h->searchDone(found), Answer::Ok);
    }
    f.command1->Click();
    QCOMPARE(f.FoundCount, found);
    QCOMPARE(rowsOf(*f.r), expected.mid(0, found));
    QCOMPARE(contentsOf(Module1::FoundWords).mid(0, found), expected.mid(0, found));
    QCOMPARE(f.l2->Caption(), QString::number(cancelAt != 0 ? 1 + (cancelAt - 1) * stride : total));
    QVERIFY(isIdle(f));
}

QTEST_MAIN(TestWordSearch)
#include "tst_word_search.moc"
