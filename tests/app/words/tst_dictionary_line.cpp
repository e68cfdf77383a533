#include "words/dictionary_line.h"

#include "word_array_contents.h"

#include <QtTest>

class TestDictionaryLine : public QObject {
    Q_OBJECT
private slots:
    void withoutSpaces_data();
    void withoutSpaces();
};

void TestDictionaryLine::withoutSpaces_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("entry");
    QTest::newRow("spaces before, between and after") << QByteArray("  a b  c ") << QByteArray("abc");
    QTest::newRow("tab kept") << QByteArray("a\tb") << QByteArray("a\tb");
    QTest::newRow("tab kept, space removed") << QByteArray("a\tb c") << QByteArray("a\tbc");
    QTest::newRow("spaces only") << QByteArray("   ") << QByteArray("");
    QTest::newRow("empty line") << QByteArray("") << QByteArray("");
    QTest::newRow("lone LF kept") << QByteArray("\xee\xe4\xe8\xed\n\xe4\xe2\xe0 \xe4\xe2\xe0")
                                  << QByteArray("\xee\xe4\xe8\xed\n\xe4\xe2\xe0\xe4\xe2\xe0");
    QTest::newRow("no space") << QByteArray("\xa8\xe6\xe8\xea") << QByteArray("\xa8\xe6\xe8\xea");
    // Longer than a slice of a long line.
    QTest::newRow("spaces across slices") << QByteArray(" \xe6 y").repeated(5'000'000)
                                          << QByteArray("\xe6y").repeated(5'000'000);
}

// Both ways: a short line's, and a long line's a slice at a time, with the signature the
// store gives the entry.
void TestDictionaryLine::withoutSpaces()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, entry);
    QByteArray scratch("left over from a longer line");
    QCOMPARE(DictionaryLine::withoutSpaces(line, scratch).toByteArray(), entry);
    TextArray store(WordArray::Records::Yes);
    store.append(WordView(entry));
    const QByteArray shared = line;
    DictionaryLine::LongEntry long_(line);
    while (long_.next()) {
    }
    QCOMPARE(long_.entry(), entry);
    QCOMPARE(long_.entry().capacity(), entry.size()); // no room kept for the removed spaces
    QCOMPARE(line, shared); // the reader's array was not written through
    QCOMPARE(LetterSignature::record(entry.size(), long_.signature()), store.record(0));
}

QTEST_APPLESS_MAIN(TestDictionaryLine)
#include "tst_dictionary_line.moc"
