#include "../words/word_array_contents.h"
#include "form_harness.h"
#include "file_kinds.h"
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

class TestDictionaryImport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void importsEveryLine();
    void progressCaptions_data();
    void progressCaptions();
    void cancel_data();
    void cancel();
    void cancelDuringTheLastLineFinishesNormally_data();
    void cancelDuringTheLastLineFinishesNormally();
    void cancelledReimportHoldsOnlyTheNewLines();
    void dialogCancelledChangesNothing();
    void fileFailures_data();
    void fileFailures();
    void emptyFile();
    void importKeepsTheLastSearch();

private:
    std::unique_ptr<FormHarness> h;
};

void TestDictionaryImport::init() { h = std::make_unique<FormHarness>(); }

void TestDictionaryImport::cleanup()
{
    closeHarness(h);
}

void TestDictionaryImport::importsEveryLine()
{
    FrmMain& f = h->form();
    h->dialogs.expectOpen(h->writeBytes(QStringEncoder("windows-1251").encode(
        QStringLiteral(" к о т \r\nкот\r\n\r\nЁж\tик\r\n"))));
    h->dialogs.expectMessage(h->importDone(4), Answer::Ok, [&] {
        // Behind the completion message: a full bar with its 100 % caption.
        QCOMPARE(f.xb->Value(), f.xb->Max());
        QCOMPARE(f.xb->Caption(), QStringLiteral("Импорт слов. Завершено 100%"));
        QCOMPARE(f.command2->Caption(), QStringLiteral("Отмена"));
    });
    h->pump.at(1, [&] {
        QCOMPARE(f.command2->Caption(), QStringLiteral("Отмена"));
        QVERIFY(!f.command1->Enabled());
        QVERIFY(!f.bsave->Enabled());
        QVERIFY(f.t1->isEnabled());
    });
    f.command2->Click();

    const QStringList words{"кот", "кот", "", "Ёж\tик"};
    QCOMPARE(rowsOf(*f.l), words);
    QCOMPARE(f.WordCount, 4);
    QCOMPARE(Module1::DictionaryWords.size(), 5);
    QCOMPARE(textAt(Module1::DictionaryWords, 0), QString());
    QCOMPARE(contentsOf(Module1::DictionaryWords).mid(1), words);
    QCOMPARE(f.l1->Caption(), QStringLiteral("4"));
    QVERIFY(isIdle(f));
    QCOMPARE(f.xb->Value(), QStringLiteral("0"));
    QVERIFY(!f.xb->CaptionShow());
    QCOMPARE(f.xb->Max(), QString::number(QFileInfo(h->dir.filePath("words.txt")).size()));
    QCOMPARE(h->dialogs.filters(), QStringList{QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*")});
}

void TestDictionaryImport::progressCaptions_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("values");

    // Every line weighs its length plus two, so lone CR line ends pass 100 %.
    QTest::newRow("lone CR") << QByteArray("abc\rdef\rghi\r") << QStringList{"41%", "83%", "125%"}
                             << QStringList{"5", "10", "15"};
    QTest::newRow("one line without a line end") << QByteArray("abcdefghij") << QStringList{"120%"}
                                                 << QStringList{"12"};
    QTest::newRow("spaces removed fall short") << QByteArray("a b\r\nc d\r\n") << QStringList{"40%", "80%"}
                                               << QStringList{"4", "8"};
}

void TestDictionaryImport::progressCaptions()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, values);
    FrmMain& f = h->form();
    QStringList seenCaptions;
    QStringList seenValues;
    h->pump.everyPass = [&] {
        seenCaptions.append(f.xb->Caption().remove(QStringLiteral("Импорт слов. Завершено ")));
        seenValues.append(f.xb->Value());
    };
    h->dialogs.expectOpen(h->writeBytes(bytes));
    h->dialogs.expectMessage(h->importDone(captions.size()), Answer::Ok, [&] {
        QCOMPARE(f.xb->Caption(), QStringLiteral("Импорт слов. Завершено 100%"));
    });
    f.command2->Click();
    QCOMPARE(seenCaptions, captions);
    QCOMPARE(seenValues, values);
}

void TestDictionaryImport::cancel_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("pass");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("finished");

    const QStringList all{"w1", "w2", "w3", "w4", "w5"};
    QTest::newRow("Cancel goes on") << int(Answer::Cancel) << 2 << all << true;
    QTest::newRow("Yes keeps the lines read") << int(Answer::Yes) << 2 << QStringList{"w1", "w2"} << false;
    QTest::newRow("No empties the list") << int(Answer::No) << 3 << QStringList{} << false;
}

void TestDictionaryImport::cancel()
{
    QFETCH(int, answer);
    QFETCH(int, pass);
    QFETCH(QStringList, listed);
    QFETCH(bool, finished);
    FrmMain& f = h->form();
    h->dialogs.expectOpen(h->writeWords({"w1", "w2", "w3", "w4", "w5"}));
    h->dialogs.expectMessage(h->importQuestion(), Answer(answer));
    h->pump.at(pass, [&] { f.command2->Click(); });
    if (finished) {
        h->pump.at(pass + 1, [&] { QCOMPARE(f.command2->Caption(), QStringLiteral("Отмена")); });
        h->dialogs.expectMessage(h->importDone(5), Answer::Ok);
    }
    f.command2->Click();

    const qint64 stored = finished ? 5 : pass;
    QCOMPARE(rowsOf(*f.l), listed);
    QCOMPARE(f.WordCount, stored);
    QCOMPARE(f.l1->Caption(), QString::number(stored));
    QCOMPARE(contentsOf(Module1::DictionaryWords).mid(1, stored).size(), stored);
    QCOMPARE(h->pump.passes(), int(stored));
    QVERIFY(isIdle(f));
    QCOMPARE(f.xb->Value(), QStringLiteral("0"));
    QVERIFY(!f.xb->CaptionShow());
    QCOMPARE(f.CancelFlag, !finished);
}

void TestDictionaryImport::cancelDuringTheLastLineFinishesNormally_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("listed");
    QTest::newRow("Yes") << int(Answer::Yes) << 3;
    QTest::newRow("No") << int(Answer::No) << 0;
}

void TestDictionaryImport::cancelDuringTheLastLineFinishesNormally()
{
    QFETCH(int, answer);
    QFETCH(int, listed);
    FrmMain& f = h->form();
    h->dialogs.expectOpen(h->writeWords({"a", "b", "c"}));
    h->dialogs.expectMessage(h->importQuestion(), Answer(answer));
    h->dialogs.expectMessage(h->importDone(3), Answer::Ok, [&] {
        QCOMPARE(f.xb->Caption(), QStringLiteral("Импорт слов. Завершено 100%"));
        QCOMPARE(f.xb->Value(), f.xb->Max());
    });
    h->pump.at(3, [&] { f.command2->Click(); });
    f.command2->Click();
    QCOMPARE(f.l->count(), listed);
    QCOMPARE(f.WordCount, 3);
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
}

void TestDictionaryImport::cancelledReimportHoldsOnlyTheNewLines()
{
    FrmMain& f = h->form();
    h->importWords({"old1", "old2", "old3", "old4", "old5", "old6"});
    h->dialogs.expectOpen(h->writeWords({"new1", "new2", "new3", "new4"}, QStringLiteral("new.txt")));
    h->dialogs.expectMessage(h->importQuestion(), Answer::Yes);
    h->pump.reset();
    h->pump.at(2, [&] { f.command2->Click(); });
    f.command2->Click();
    QCOMPARE(f.WordCount, 2);
    QCOMPARE(contentsOf(Module1::DictionaryWords), (QStringList{"", "new1", "new2"}));
    QCOMPARE(rowsOf(*f.l), (QStringList{"new1", "new2"}));
}

void TestDictionaryImport::dialogCancelledChangesNothing()
{
    FrmMain& f = h->form();
    h->importWords({"кот"});
    h->dialogs.expectOpen(QString());
    f.command2->Click();
    QCOMPARE(rowsOf(*f.l), QStringList{"кот"});
    QCOMPARE(f.WordCount, 1);
    QVERIFY(isIdle(f));
}

void TestDictionaryImport::fileFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("whileReading");
    // Each kind of file the reader refuses, with its reason, is tested with the reader.
    QTest::newRow("FIFO without a writer")
        << "fifo" << QStringLiteral("Это не обычный файл (устройство, канал или сокет).") << false;
    QTest::newRow("a folder") << "folder" << QStringLiteral("Это папка, а не файл.") << false;
    QTest::newRow("vanished file") << "vanished.txt" << QStringLiteral("Файл или папка не найдены.") << false;
    // The lines read before it stay, as after a cancel answered Yes.
    QTest::newRow("cut short while read") << "words.txt" << QStringLiteral("Файл был изменён во время чтения.") << true;
}

void TestDictionaryImport::fileFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QFETCH(bool, whileReading);
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    QStringList kept{"кот", "ток"};
    QStringList lines;
    for (int i = 0; whileReading && i < 30000; ++i)
        lines.append(QString::number(100000 + i));
    const QString path = whileReading ? h->writeWords(lines) : specialFilePath(h->dir, kind);
    if (path.isEmpty())
        QSKIP("cannot make that kind of file here");

    h->dialogs.clear();
    h->dialogs.expectOpen(path);
    h->pump.reset();
    h->pump.at(1, [&] { QFile::resize(path, 0); });
    f.command2->Click();
    const QList<ScriptedDialogs::Box> shown = h->dialogs.shown();
    h->dialogs.clear();

    QString text = QStringLiteral("Не удалось открыть файл словаря:\n%1\n\n%2").arg(path, reason);
    if (whileReading) {
        QVERIFY(f.WordCount > 0 && f.WordCount < lines.size());
        kept = lines.mid(0, f.WordCount);
        text = QStringLiteral("Не удалось дочитать файл словаря:\n%1\n\n%2\n\nИмпортировано слов до ошибки: %3")
                   .arg(path, reason)
                   .arg(f.WordCount);
    }
    QVERIFY2(shown == QList<ScriptedDialogs::Box>{h->error(text)}, qPrintable(shown.value(0).text));
    QVERIFY(hasNoEnglish(text, path));
    QCOMPARE(rowsOf(*f.l), kept);
    QCOMPARE(contentsOf(Module1::DictionaryWords).mid(1), kept);
    QCOMPARE(f.WordCount, kept.size());
    QCOMPARE(f.l1->Caption(), QString::number(kept.size()));
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
}

void TestDictionaryImport::emptyFile()
{
    FrmMain& f = h->form();
    h->importWords({"кот"});
    h->dialogs.expectOpen(h->writeBytes(QByteArray(), QStringLiteral("empty.txt")));
    h->dialogs.expectMessage(h->importDone(0), Answer::Ok);
    f.command2->Click();
    QCOMPARE(f.l->count(), 0);
    QCOMPARE(f.WordCount, 0);
    QCOMPARE(f.l1->Caption(), QStringLiteral("1")); // written only once a line is stored
    QVERIFY(isIdle(f));
}

void TestDictionaryImport::importKeepsTheLastSearch()
{
    FrmMain& f = h->form();
    h->importWords({"кот", "ток", "кит"});
    h->search(QStringLiteral("кот"), true, 2);
    h->importWords({"слон"});
    QCOMPARE(rowsOf(*f.r), (QStringList{"кот", "ток"}));
    QCOMPARE(f.FoundCount, 2);
    QCOMPARE(contentsOf(Module1::FoundWords), (QStringList{"кот", "ток"}));
}

QTEST_MAIN(TestDictionaryImport)
#include "tst_dictionary_import.moc"
