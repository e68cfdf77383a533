#include "../words/word_array_contents.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "widgets/word_list_box.h"
#include "words/module1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using Answer = Dialogs::Answer;

class TestFoundWordsSave : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nothingToSave_data();
    void nothingToSave();
    void savesEveryWordWithCrLf();
    void replacesAnExistingFile();
    void dialogCancelledTouchesNothing();
    void stop_data();
    void stop();
    void stopDuringTheLastWordFinishesNormally();
    void savesWhatACancelledSearchListed();
    void fileFailures_data();
    void fileFailures();
    void savedFileImportsAsTheSameWords();
    void endingTheProgramClosesTheFile();

private:
    void findWords(const QStringList& words);

    std::unique_ptr<FormHarness> h;
};

void TestFoundWordsSave::init() { h = std::make_unique<FormHarness>(); }

void TestFoundWordsSave::cleanup()
{
    closeHarness(h);
}

// Imports the words and finds them all (compose mode with every letter they use).
void TestFoundWordsSave::findWords(const QStringList& words)
{
    h->importWords(words);
    h->search(words.join(QString()) + QStringLiteral("я"), false, words.size());
    h->pump.reset();
}

void TestFoundWordsSave::nothingToSave_data()
{
    QTest::addColumn<QStringList>("dictionary");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<int>("found");
    QTest::newRow("nothing searched") << QStringList{} << "" << 0;
    QTest::newRow("nothing found") << QStringList{"кот"} << "слон" << 0;
    // Only the first row counts: the empty entry found first hides "кот" after it.
    QTest::newRow("first row empty") << QStringList{"слон", "", "кот"} << "кото" << 2;
}

void TestFoundWordsSave::nothingToSave()
{
    QFETCH(QStringList, dictionary);
    QFETCH(QString, letters);
    QFETCH(int, found);
    FrmMain& f = h->form();
    if (!dictionary.isEmpty()) {
        h->importWords(dictionary);
        h->search(letters, false, found);
    }
    h->dialogs.expectMessage(h->error(QStringLiteral("Нет слов для сохранения")), Answer::Ok);
    f.bsave->Click();
    QVERIFY(isIdle(f));
}

void TestFoundWordsSave::savesEveryWordWithCrLf()
{
    FrmMain& f = h->form();
    findWords({"кот", "ёж", "Ток"});
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    QStringList captions;
    h->pump.everyPass = [&] { captions.append(f.xb->Caption()); };
    h->pump.at(1, [&] {
        QCOMPARE(f.bsave->Caption(), QStringLiteral("Отмена"));
        QVERIFY(!f.command1->Enabled());
        QVERIFY(!f.command2->Enabled());
    });
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveDone(), Answer::Ok, [&] {
        QCOMPARE(f.xb->Caption(), QStringLiteral("Сохранение слов. Завершено 100%"));
    });
    f.bsave->Click();
    QCOMPARE(h->readBytes(path), QByteArray("\xEA\xEE\xF2\r\n\xB8\xE6\r\n\xD2\xEE\xEA\r\n"));
    const QString prefix = QStringLiteral("Сохранение слов. Завершено ");
    QCOMPARE(captions, (QStringList{prefix + "33%", prefix + "66%", prefix + "100%"}));
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
    QCOMPARE(f.xb->Value(), QStringLiteral("0"));
}

void TestFoundWordsSave::replacesAnExistingFile()
{
    findWords({"кот"});
    const QString path = h->writeBytes(QByteArray(10000, 'x'), QStringLiteral("old.txt"));
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveDone(), Answer::Ok);
    h->form().bsave->Click();
    QCOMPARE(h->readBytes(path), QByteArray("\xEA\xEE\xF2\r\n"));
}

void TestFoundWordsSave::dialogCancelledTouchesNothing()
{
    findWords({"кот"});
    h->dialogs.expectSave(QString());
    h->form().bsave->Click();
    QCOMPARE(h->pump.passes(), 0);
    QVERIFY(isIdle(h->form()));
}

void TestFoundWordsSave::stop_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("written");
    QTest::newRow("No goes on") << int(Answer::No) << 1 << 4;
    QTest::newRow("Yes during the first word") << int(Answer::Yes) << 1 << 1;
    QTest::newRow("Yes during the third word") << int(Answer::Yes) << 3 << 3;
}

void TestFoundWordsSave::stop()
{
    QFETCH(int, answer);
    QFETCH(int, pass);
    QFETCH(int, written);
    FrmMain& f = h->form();
    findWords({"а", "б", "в", "г"});
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveQuestion(), Answer(answer));
    h->pump.at(pass, [&] { f.bsave->Click(); });
    if (written == 4) {
        h->pump.at(pass + 1, [&] { QCOMPARE(f.bsave->Caption(), QStringLiteral("Отмена")); });
        h->dialogs.expectMessage(h->saveDone(), Answer::Ok);
    }
    f.bsave->Click();
    QCOMPARE(h->readBytes(path), QByteArray("\xE0\r\n\xE1\r\n\xE2\r\n\xE3\r\n").left(written * 3));
    QVERIFY(isIdle(f));
    QVERIFY(!f.xb->CaptionShow());
}

void TestFoundWordsSave::stopDuringTheLastWordFinishesNormally()
{
    FrmMain& f = h->form();
    findWords({"а", "б"});
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveQuestion(), Answer::Yes);
    h->dialogs.expectMessage(h->saveDone(), Answer::Ok, [&] {
        QCOMPARE(f.xb->Caption(), QStringLiteral("Сохранение слов. Завершено 100%"));
        QCOMPARE(f.xb->Value(), QStringLiteral("2"));
    });
    h->pump.at(2, [&] { f.bsave->Click(); });
    f.bsave->Click();
    QCOMPARE(h->readBytes(path), QByteArray("\xE0\r\n\xE1\r\n"));
    QVERIFY(isIdle(f));
}

void TestFoundWordsSave::savesWhatACancelledSearchListed()
{
    FrmMain& f = h->form();
    h->importWords({"кот", "ток", "кто"});
    f.t1->setText(QStringLiteral("кот"));
    h->pump.reset();
    h->pump.at(2, [&] { f.command1->Click(); });
    h->dialogs.expectMessage(h->searchQuestion(), Answer::Yes);
    f.command1->Click();
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveDone(), Answer::Ok);
    f.bsave->Click();
    QCOMPARE(h->readBytes(path), QByteArray("\xEA\xEE\xF2\r\n\xF2\xEE\xEA\r\n"));
}

void TestFoundWordsSave::fileFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("words");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("written"); // whether the file was begun
    QTest::addColumn<int>("maxPasses");
    const QString noSpace = QStringLiteral("Недостаточно места на диске.");
    QTest::newRow("cannot create") << "no-such-folder/found.txt" << 1 << QStringLiteral("Файл или папка не найдены.")
                                   << false << 0;
    // A short file fails only when it is closed; a long one while the loop runs.
    QTest::newRow("disk full at the close") << "/dev/full" << 2 << noSpace << true << 2;
    QTest::newRow("disk full while writing") << "/dev/full" << 30000 << noSpace << true << 29999;
}

void TestFoundWordsSave::fileFailures()
{
    QFETCH(QString, path);
    QFETCH(int, words);
    QFETCH(QString, reason);
    QFETCH(bool, written);
    QFETCH(int, maxPasses);
    if (path.startsWith(QLatin1Char('/')) && !QFileInfo::exists(path))
        QSKIP("no such device here");
    if (!path.startsWith(QLatin1Char('/')))
        path = h->dir.filePath(path);
    FrmMain& f = h->form();
    const QStringList found(words, QStringLiteral("кот"));
    h->importWords(found);
    h->search(QStringLiteral("кот"), true, words);

    QString text = QStringLiteral("Не удалось сохранить файл:\n%1\n\n%2").arg(path, reason);
    if (written)
        text += QStringLiteral("\n\nФайл записан не полностью.");
    bool idleBehindTheBox = false;
    bool barEmptyBehindTheBox = false;
    h->pump.reset();
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->error(text), Answer::Ok, [&] {
        idleBehindTheBox = isIdle(f);
        barEmptyBehindTheBox = !f.xb->CaptionShow() && f.xb->Value() == QStringLiteral("0");
    });
    f.bsave->Click();

    QVERIFY(h->pump.passes() <= maxPasses);
    QVERIFY(idleBehindTheBox);
    QVERIFY(barEmptyBehindTheBox);
    QVERIFY(hasNoEnglish(text, path));
    QVERIFY(isIdle(f));
    QCOMPARE(f.FoundCount, words);
    QCOMPARE(f.r->count(), words);
}

void TestFoundWordsSave::savedFileImportsAsTheSameWords()
{
    FrmMain& f = h->form();
    const QStringList words{"Ёлка", "ёж", "ель", "Ель", "лёк"};
    findWords(words);
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    h->dialogs.expectSave(path);
    h->dialogs.expectMessage(h->saveDone(), Answer::Ok);
    f.bsave->Click();
    h->dialogs.expectOpen(path);
    h->dialogs.expectMessage(h->importDone(words.size()), Answer::Ok);
    f.command2->Click();
    QCOMPARE(rowsOf(*f.l), words);
    QCOMPARE(contentsOf(Module1::DictionaryWords).mid(1), words);
}

void TestFoundWordsSave::endingTheProgramClosesTheFile()
{
    FrmMain& f = h->form();
    findWords({"а", "б", "в", "г"});
    const QString path = h->dir.filePath(QStringLiteral("found.txt"));
    h->dialogs.expectSave(path);
    h->pump.at(2, [&] { f.endProgram(); });
    f.bsave->Click();
    QCOMPARE(h->pump.passes(), 2);
    QCOMPARE(h->readBytes(path), QByteArray("\xE0\r\n\xE1\r\n"));
}

QTEST_MAIN(TestFoundWordsSave)
#include "tst_found_words_save.moc"
