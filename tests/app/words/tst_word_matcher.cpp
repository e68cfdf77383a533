#include "word_array_contents.h"
#include "words/letter_signature.h"
#include "words/word_matcher.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Each character in its own lower-case form (never a longer one, as for İ).
QString lowerCase(QString text)
{
    for (QChar& c : text)
        c = c.toLower();
    return text;
}

// The word test as a user would do it by hand: consume the word letter by letter
// against the remaining letters.
bool foundByHand(const QString& letters, const QString& word, WordMatcher::Mode mode)
{
    // Occurrence test of the typed and remaining letters: nothing occurs in an empty
    // text, the empty string occurs in any other.
    auto occurs = [](const QString& text, const QString& part) {
        return !text.isEmpty() && (part.isEmpty() || text.contains(part));
    };
    QString remainingLetters = lowerCase(letters);
    QString remainingWord = lowerCase(word);
    const QString first = remainingWord.left(1);
    if (mode == WordMatcher::Mode::Exact) {
        if (word.size() != letters.size() || !occurs(letters, first))
            return false;
    } else {
        if (word.size() > letters.size() || remainingWord == letters || !occurs(letters, first))
            return false;
    }
    qint64 matched = 0;
    for (qsizetype n = remainingWord.size(); n > 0; --n) {
        const QString c = remainingWord.left(1);
        if (!occurs(remainingLetters, c))
            break;
        for (qsizetype i = 0; i < remainingLetters.size(); ++i) {
            if (remainingLetters.at(i).toLower() == c.at(0).toLower()) {
                remainingLetters.remove(i, 1);
                break;
            }
        }
        remainingWord.remove(0, 1);
        ++matched;
    }
    return mode == WordMatcher::Mode::Exact ? matched == letters.size() : matched == word.size();
}

// The search's way: the first test on the word's record, then the full test.
bool firstTestThenMatches(WordMatcher& matcher, const QString& word)
{
    const WordMatcher::FirstTest test = matcher.firstTest();
    const quint64 record = LetterSignature::record(word.size(), LetterSignature::of(word));
    return test.mayMatch(record) && matcher.matches(WordView(stored(word)));
}

QString randomText(QRandomGenerator& random, const QString& alphabet, int maxLength)
{
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

} // namespace

class TestWordMatcher : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data();
    void workedExamples();
    void agreesWithTheLetterByLetterTest_data();
    void agreesWithTheLetterByLetterTest();
    void signatureFollowsLowerCase_data();
    void signatureFollowsLowerCase();
};

void TestWordMatcher::workedExamples_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<bool>("compose");

    QTest::newRow("аба / аба") << "аба" << "аба" << true << false;
    QTest::newRow("аба / баа") << "аба" << "баа" << true << true;
    QTest::newRow("аба / Аба") << "аба" << "Аба" << true << false;
    QTest::newRow("аба / ба") << "аба" << "ба" << false << true;
    QTest::newRow("аба / б") << "аба" << "б" << false << true;
    QTest::newRow("аба / абб") << "аба" << "абб" << false << false;
    QTest::newRow("аба / баба") << "аба" << "баба" << false << false;
    QTest::newRow("аба / empty") << "аба" << "" << false << true;
    QTest::newRow("аба / бак") << "аба" << "бак" << false << false;
    QTest::newRow("Кот / ток") << "Кот" << "ток" << true << true;
    QTest::newRow("Кот / кот") << "Кот" << "кот" << false << false;
    QTest::newRow("кот / кот") << "кот" << "кот" << true << false;
    QTest::newRow("кот / ток") << "кот" << "ток" << true << true;
    QTest::newRow("кот / КОТ") << "кот" << "КОТ" << true << false;
    QTest::newRow("кОт / кот") << "кОт" << "кот" << true << true;
    QTest::newRow("кОт / КоТ") << "кОт" << "КоТ" << true << true;
    QTest::newRow("АБА / аба") << "АБА" << "аба" << false << false;
    QTest::newRow("АБА / ба") << "АБА" << "ба" << false << false;
    QTest::newRow("ёжик / Ёж") << "ёжик" << "Ёж" << false << true;
    QTest::newRow("empty / empty") << "" << "" << false << false;
    QTest::newRow("digits and punctuation") << "1-2" << "2-1" << true << true;
    QTest::newRow("Ёж / ёж") << "Ёж" << "ёж" << false << false;
    QTest::newRow("Ёж / жЁ") << "Ёж" << "жЁ" << true << true;
    QTest::newRow("ёж / еж") << "ёж" << "еж" << false << false;
    QTest::newRow("no case pair") << "№1-" << "1№" << false << true;
    QTest::newRow("three а and б / four а") << "аааб" << "аааа" << false << false;
    QTest::newRow("four а and б / БАААА") << "ааааб" << "БАААА" << true << true;
    QTest::newRow("four а and б / five а") << "ааааб" << "ааааа" << false << false;
    QTest::newRow("32 letters / Ёлка") << "абвгдеёжзийклмнопрстуфхцчшщыьэюя" << "Ёлка" << false << true;
    QTest::newRow("32 letters / съел") << "абвгдеёжзийклмнопрстуфхцчшщыьэюя" << "съел" << false << false;
    QTest::newRow("33 letters / подъём") << "абвгдеёжзийклмнопрстуфхцчшщъыьэюя" << "подъём" << false << true;
    QTest::newRow("33 letters / подъезд") << "абвгдеёжзийклмнопрстуфхцчшщъыьэюя" << "подъезд" << false << false;
    // Past the longest length a word's record tells apart.
    QTest::newRow("300 а / 300 а") << QString(300, u'а') << QString(300, u'а') << true << false;
    QTest::newRow("300 а / 256 а") << QString(300, u'а') << QString(256, u'а') << false << true;
    QTest::newRow("255 а / 256 а") << QString(255, u'а') << QString(256, u'а') << false << false;
    QTest::newRow("256 а / 255 а") << QString(256, u'а') << QString(255, u'а') << false << true;
}

void TestWordMatcher::workedExamples()
{
    QFETCH(QString, letters);
    QFETCH(QString, word);
    QFETCH(bool, exact);
    QFETCH(bool, compose);
    WordMatcher exactMatcher(letters, WordMatcher::Mode::Exact);
    WordMatcher composeMatcher(letters, WordMatcher::Mode::Compose);
    QCOMPARE(exactMatcher.matches(WordView(stored(word))), exact);
    QCOMPARE(composeMatcher.matches(WordView(stored(word))), compose);
    QCOMPARE(firstTestThenMatches(exactMatcher, word), exact);
    QCOMPARE(firstTestThenMatches(composeMatcher, word), compose);
}

void TestWordMatcher::agreesWithTheLetterByLetterTest_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("few Cyrillic letters, both cases") << "абвАБВ" << 6;
    QTest::newRow("Cyrillic with ё") << "аеёжкотАЕЁЖКОТ" << 7;
    QTest::newRow("Latin, digits, punctuation, tab") << "abAB12.-\t" << 6;
    QTest::newRow("letters outside Latin and Cyrillic") << QString::fromUtf8("sſKKkİiıßΣσςẞ") << 5;
    QTest::newRow("Cyrillic, Latin and digits mixed") << QString::fromUtf8("аоАОaoAO019ёЁ") << 6;
    // More distinct characters than a signature has bits: several share one.
    QTest::newRow("over 64 distinct characters")
        << QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                             "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
        << 8;
    QTest::newRow("characters sharing spare bits") << QString::fromUtf8("0123456789!?-_.,;:\t\x01€№漢字ÿ") << 6;
    QTest::newRow("single letter, long words") << QString::fromUtf8("яЯ") << 12;
    QTest::newRow("long letters, many distinct") << QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАЁЯ") << 40;
}

void TestWordMatcher::agreesWithTheLetterByLetterTest()
{
    QFETCH(QString, alphabet);
    QFETCH(int, maxLength);
    QRandomGenerator random(20261207);
    for (int round = 0; round < 3000; ++round) {
        const QString letters = randomText(random, alphabet, maxLength);
        WordMatcher exact(letters, WordMatcher::Mode::Exact);
        WordMatcher compose(letters, WordMatcher::Mode::Compose);
        for (int w = 0; w < 40; ++w) {
            // Rearrangements of the letters are the interesting words: make half of them so.
            QString word = randomText(random, alphabet, maxLength);
            if (w % 2 == 0) {
                word = letters.left(random.bounded(int(letters.size()) + 1));
                std::shuffle(word.begin(), word.end(), random);
                if (random.bounded(2))
                    word = word.toUpper();
            }
            // Letters may be anything typed; a dictionary word is in the files' code page.
            word.removeIf([](QChar c) { uchar b; return !SingleByteCodePage::ansi().encode(QStringView(&c, 1), &b); });
            // Both the full test alone and the search's way.
            const bool byHandExact = foundByHand(letters, word, WordMatcher::Mode::Exact);
            const bool byHandCompose = foundByHand(letters, word, WordMatcher::Mode::Compose);
            QVERIFY2(exact.matches(WordView(stored(word))) == byHandExact && firstTestThenMatches(exact, word) == byHandExact,
                     qPrintable(QStringLiteral("exact: letters \"%1\", word \"%2\"").arg(letters, word)));
            QVERIFY2(compose.matches(WordView(stored(word))) == byHandCompose && firstTestThenMatches(compose, word) == byHandCompose,
                     qPrintable(QStringLiteral("compose: letters \"%1\", word \"%2\"").arg(letters, word)));
        }
    }
}

void TestWordMatcher::signatureFollowsLowerCase_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("Ё and ё") << QString::fromUtf8("Ё") << QString::fromUtf8("ё") << true;
    QTest::newRow("ё and е") << QString::fromUtf8("ё") << QString::fromUtf8("е") << false;
    QTest::newRow("Cyrillic а and Latin a") << QString::fromUtf8("а") << "a" << false;
    QTest::newRow("Latin Z and z") << "Z" << "z" << true;
    QTest::newRow("Я and я") << QString::fromUtf8("Я") << QString::fromUtf8("я") << true;
    QTest::newRow("order and repeats") << QString::fromUtf8("КОТ") << QString::fromUtf8("тоткк") << true;
    QTest::newRow("empty") << "" << "" << true;
}

void TestWordMatcher::signatureFollowsLowerCase()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(LetterSignature::of(a) == LetterSignature::of(b), same);
    QCOMPARE(LetterSignature::of(a), LetterSignature::of(lowerCase(a)));
}

QTEST_APPLESS_MAIN(TestWordMatcher)
#include "tst_word_matcher.moc"
