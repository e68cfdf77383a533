#include "words/letter_signature.h"
#include "address_space_limit.h"
#include "word_array_contents.h"
#include "words/block_allocator.h"
#include "words/word_array.h"

#include <QCoreApplication>
#include <QtTest>

#include <new>
#include <optional>
#include <stdexcept>

// The store behind the dictionary, the found words and the list boxes.
class TestWordArray : public QObject {
    Q_OBJECT
private slots:
    void resizeKeepsTheElementsBelowTheNewSize_data();
    void resizeKeepsTheElementsBelowTheNewSize();
    void textsReadBackAsWritten_data();
    void textsReadBackAsWritten();
    void recordsFollowEveryWrite();
    void aCutToFewGivesTheMemoryBack();
    void aCutKeepsTheTextOfTheKeptElements();
    void aStoreFilledAgainTakesBackItsBlocks_data();
    void aStoreFilledAgainTakesBackItsBlocks();
    void aLongLineIsSharedAndNeverOverwritten();
    void appendsKeepEverythingWhileTheBlocksGrow_data();
    void appendsKeepEverythingWhileTheBlocksGrow();
    void aSmallArrayHoldsLittle_data();
    void aSmallArrayHoldsLittle();
    void aReadArrayRefusesEveryChange_data();
    void aReadArrayRefusesEveryChange();
    void aGrowthThatCannotMapKeepsTheArray_data();
    void aGrowthThatCannotMapKeepsTheArray();
};

namespace {

QString word(int i) { return QStringLiteral("слово%1").arg(i); }

quint64 recordOf(QStringView text) { return LetterSignature::record(text.size(), LetterSignature::of(text)); }

void fill(TextArray& array, int count)
{
    array.resize(count);
    for (int i = 0; i < count; ++i)
        array.set(i, word(i));
}

} // namespace

void TestWordArray::resizeKeepsTheElementsBelowTheNewSize_data()
{
    QTest::addColumn<int>("filled");
    QTest::addColumn<int>("cut");
    QTest::addColumn<int>("grown");
    QTest::newRow("grow only") << 3 << 3 << 10;
    QTest::newRow("cut to the element 0") << 5 << 1 << 4;
    QTest::newRow("cut to nothing") << 5 << 0 << 3;
    QTest::newRow("cut inside an index block") << 70000 << 65537 << 70000;
    QTest::newRow("cut across index blocks") << 140000 << 2 << 140000;
    QTest::newRow("grow a small array past a block at once") << 3 << 3 << 70000;
    QTest::newRow("cut a full array and grow it small") << 70000 << 0 << 600;
    QTest::newRow("cut to one small block's edge") << 5000 << 512 << 1030;
}

void TestWordArray::resizeKeepsTheElementsBelowTheNewSize()
{
    QFETCH(int, filled);
    QFETCH(int, cut);
    QFETCH(int, grown);
    TextArray array;
    fill(array, filled);
    array.resize(cut);
    array.resize(grown);
    QCOMPARE(array.size(), grown);
    for (int i = 0; i < grown; ++i) {
        const QString expected = i < cut ? word(i) : QString();
        if (array.at(i) != expected)
            QFAIL(qPrintable(QStringLiteral("element %1: \"%2\"").arg(i).arg(array.at(i))));
        if (i >= cut)
            QCOMPARE(array.length(i), 0);
    }
}

void TestWordArray::textsReadBackAsWritten_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("empty among others") << QStringList{"a", "", "b", ""};
    QTest::newRow("Cyrillic, ё, tab, LF")
        << QStringList{QString::fromUtf8("Ёжик"), QString::fromUtf8("ещё\tраз"), QString::fromUtf8("раз\nдва")};
    // Longer than a text block, and a run that fills several blocks.
    QTest::newRow("longer than a block") << QStringList{"x", QString(700000, QChar(u'ж')), "y"};
    QStringList many;
    for (int i = 0; i < 300000; ++i)
        many << word(i);
    QTest::newRow("many blocks") << many;
}

void TestWordArray::textsReadBackAsWritten()
{
    QFETCH(QStringList, texts);
    TextArray array;
    for (const QString& text : texts)
        array.append(text);
    QCOMPARE(contentsOf(array), texts);
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(array.length(i), texts.at(i).size());
        QVERIFY(!array.at(i).isNull()); // an empty entry reads as empty, not null
    }
}

void TestWordArray::recordsFollowEveryWrite()
{
    TextArray array(WordArray::Records::Yes);
    array.resize(3);
    QCOMPARE(array.record(1), quint64(0));
    // Lengths from 255 on are beyond what a record holds.
    const QStringList writes{QString(300, QChar(u'я')), QString(255, QChar(u'ж')), QString(254, QChar(u'ж')),
                             QString::fromUtf8("переподготовка"), QString::fromUtf8("Кот"), "",
                             QString::fromUtf8("апельсин"), QString(400'000, QChar(u'ё')), QString::fromUtf8("ёж")};
    for (const QString& text : writes) {
        // Shorter texts take the place of longer ones: the record must not lag.
        array.set(1, text);
        QCOMPARE(array.at(1), text);
        QCOMPARE(array.length(1), text.size());
        QCOMPARE(array.record(1), recordOf(text));
    }
    array.resize(1);
    array.resize(3);
    QCOMPARE(array.record(1), quint64(0));
}

void TestWordArray::appendsKeepEverythingWhileTheBlocksGrow_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("longTexts");
    QTest::newRow("one") << 1 << false;
    QTest::newRow("a first block's worth") << 512 << false;
    QTest::newRow("one more") << 513 << false;
    QTest::newRow("past the first full block") << 65537 << false;
    QTest::newRow("texts longer than the first text block") << 300 << true;
}

// Appending one by one, as an import and a search do: the first index block and the
// text blocks are replaced or added on the way, and nothing written may change.
void TestWordArray::appendsKeepEverythingWhileTheBlocksGrow()
{
    QFETCH(int, count);
    QFETCH(bool, longTexts);
    const auto text = [&](int i) { return longTexts ? QString(3000 + i * 97, QChar(u'а' + i % 32)) : word(i); };
    TextArray array(WordArray::Records::Yes);
    for (int i = 0; i < count; ++i)
        array.append(text(i));
    QCOMPARE(array.size(), count);
    const WordArray::Reading reading(array);
    for (int i = 0; i < count;) {
        const WordArray::Reading::Run run = reading.run(i, count);
        QVERIFY(run.count > 0);
        for (qsizetype k = 0; k < run.count; ++k, ++i) {
            if (run.view(k).toString() != text(i) || array.at(i) != text(i))
                QFAIL(qPrintable(QStringLiteral("element %1 reads \"%2\"").arg(i).arg(array.at(i).left(20))));
            if (array.record(i) != recordOf(text(i)) || run.records[k] != array.record(i)
                || array.length(i) != text(i).size())
                QFAIL(qPrintable(QStringLiteral("element %1: per-element data wrong").arg(i)));
        }
    }
}

void TestWordArray::aSmallArrayHoldsLittle_data()
{
    QTest::addColumn<bool>("records");
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("atMost");
    QTest::newRow("15 found words") << false << 15 << qint64(64 * 1024);
    QTest::newRow("15 words with records") << true << 15 << qint64(64 * 1024);
    QTest::newRow("2000 words") << false << 2000 << qint64(256 * 1024);
}

// A search's result list is often a few words, and a new one is made for every search.
void TestWordArray::aSmallArrayHoldsLittle()
{
    QFETCH(bool, records);
    QFETCH(int, count);
    QFETCH(qint64, atMost);
    TextArray array(records ? WordArray::Records::Yes : WordArray::Records::No);
    for (int round = 0; round < 2; ++round) {
        // The second round after a clear, as each new search starts.
        array.clear();
        for (int i = 0; i < count; ++i)
            array.append(word(i));
        QVERIFY2(array.heldBytes() <= atMost, qPrintable(QString::number(array.heldBytes())));
        QCOMPARE(array.at(count - 1), word(count - 1));
    }
}

void TestWordArray::aCutToFewGivesTheMemoryBack()
{
    TextArray array;
    fill(array, 500000);
    const QString longText(6'000'000, QChar(u'ш'));
    array.append(QStringView(longText)); // copied into a block of its own, given back in parts
    array.resize(array.size() + 1);
    array.set(array.size() - 1, QByteArray(3'000'000, 'x'), 0); // a long line kept as it came: the same
    const qint64 full = array.heldBytes();
    QVERIFY(full > 10'000'000);
    const qint64 pendingBefore = BlockAllocator::pendingBytes();
    array.resize(2);
    QVERIFY2(array.heldBytes() < 3'000'000, qPrintable(QString::number(array.heldBytes())));
    QCOMPARE(BlockAllocator::pendingBytes() - pendingBefore, full - array.heldBytes());
    // Given back from the event loop, a slice at a time.
    QTRY_COMPARE(BlockAllocator::pendingBytes(), qint64(0));
    // Growing again and cutting again does not pile up blocks.
    for (int round = 0; round < 5; ++round) {
        fill(array, 100000);
        array.resize(2);
    }
    QVERIFY2(array.heldBytes() < 3'000'000, qPrintable(QString::number(array.heldBytes())));
}

void TestWordArray::aStoreFilledAgainTakesBackItsBlocks_data()
{
    QTest::addColumn<bool>("withinOperation");
    QTest::newRow("right after the cut") << false;
    QTest::newRow("within an operation, the event loop run in between") << true;
}

// A new import right after the last one: the old blocks are not yet given back, and the
// new words go into them rather than into memory of their own.
void TestWordArray::aStoreFilledAgainTakesBackItsBlocks()
{
    QFETCH(bool, withinOperation);
    QTRY_COMPARE(BlockAllocator::pendingBytes(), qint64(0));
    std::optional<BlockAllocator::Reuse> reuse;
    if (withinOperation)
        reuse.emplace();
    TextArray array(WordArray::Records::Yes);
    fill(array, 300000);
    const qint64 full = array.heldBytes();
    array.resize(1);
    const qint64 handedBack = BlockAllocator::pendingBytes();
    QVERIFY(handedBack > full / 2);
    if (withinOperation) {
        QTest::qWait(50);
        QCOMPARE(BlockAllocator::pendingBytes(), handedBack);
    }
    fill(array, 300000);
    QVERIFY2(BlockAllocator::pendingBytes() + array.heldBytes() <= full + 64 * 1024,
             qPrintable(QString::number(BlockAllocator::pendingBytes())));
    for (int i = 0; i < 300000; i += 4999)
        QCOMPARE(array.at(i), word(i));
    if (withinOperation) {
        // Memory runs short: what is kept for reuse goes back before anything fails.
        const QByteArray longText = stored(QString(2'000'000, QChar(u'ж')));
        array.resize(1);
        AddressSpaceLimit limit(64 * 1024);
        QVERIFY(limit.active);
        array.append(WordView(longText));
        QVERIFY(BlockAllocator::pendingBytes() < handedBack);
    }
}

void TestWordArray::aCutKeepsTheTextOfTheKeptElements()
{
    TextArray array;
    array.append(QString());
    array.append(QString(300000, QChar(u'д'))); // in a block of its own
    for (int i = 0; i < 300000; ++i)
        array.append(word(i));
    array.resize(2);
    QTRY_COMPARE(BlockAllocator::pendingBytes(), qint64(0));
    QCOMPARE(array.at(0), QString());
    QCOMPARE(array.at(1), QString(300000, QChar(u'д')));
    array.append(QStringLiteral("новое"));
    QCOMPARE(contentsOf(array), (QStringList{QString(), QString(300000, QChar(u'д')), QStringLiteral("новое")}));
    // A kept text in the last of many blocks, the ones before it let go and new ones made.
    for (int i = 0; i < 300000; ++i)
        array.append(word(i));
    array.set(2, QStringLiteral("последнее"));
    array.resize(3);
    for (int i = 0; i < 300000; ++i)
        array.append(word(i));
    QCOMPARE(array.at(2), QStringLiteral("последнее"));
    QCOMPARE(array.at(300002), word(299999));
}

void TestWordArray::aLongLineIsSharedAndNeverOverwritten()
{
    // Arrays hold one very long line together, as it came from the file.
    const QByteArray entry(2'000'000, '\xe6'); // «ж»
    const quint64 signature = LetterSignature::of(u"ж");
    const auto heldAsIs = [&](const WordArray& array, qsizetype i) {
        return array.view(i).bytes() == reinterpret_cast<const uchar*>(entry.constData());
    };
    TextArray list;
    TextArray store(WordArray::Records::Yes);
    store.resize(1);
    store.set(0, entry, signature);
    QVERIFY(heldAsIs(store, 0));
    QCOMPARE(store.record(0), LetterSignature::record(entry.size(), signature));
    // Any number of them: more than the blocks a handle could once tell apart.
    for (int i = 0; i <= 3000; ++i) {
        list.resize(i + 1);
        list.set(i, entry, signature);
    }
    QVERIFY(heldAsIs(list, 0) && heldAsIs(list, 3000));
    // A shorter text written over it goes elsewhere: the other holder keeps its entry.
    list.set(0, QStringView(u"кот"));
    QCOMPARE(list.at(0), QStringLiteral("кот"));
    QVERIFY(heldAsIs(store, 0));
    list.clear();
    QTRY_COMPARE(BlockAllocator::pendingBytes(), qint64(0));
    QCOMPARE(store.at(0), QString(2'000'000, QChar(u'ж')));
    // Cut down and grown again, the store lets go of it too.
    store.resize(0);
    store.append(QStringView(u"да"));
    QVERIFY(store.heldBytes() < entry.size() / 2);
}

void TestWordArray::aReadArrayRefusesEveryChange_data()
{
    QTest::addColumn<std::function<void(WordArray&)>>("change");
    QTest::newRow("grow by one") << std::function<void(WordArray&)>([](WordArray& a) { a.resize(a.size() + 1); });
    QTest::newRow("grow past the index block")
        << std::function<void(WordArray&)>([](WordArray& a) { a.resize(70000); });
    QTest::newRow("cut") << std::function<void(WordArray&)>([](WordArray& a) { a.resize(1); });
    QTest::newRow("write") << std::function<void(WordArray&)>([](WordArray& a) { a.set(0, WordView(stored(u"кот"))); });
}

// A loop that lets the event loop run between its reads holds pointers into the array:
// whatever runs meanwhile must not move or change what they point at.
void TestWordArray::aReadArrayRefusesEveryChange()
{
    QFETCH(std::function<void(WordArray&)>, change);
    TextArray array(WordArray::Records::Yes);
    fill(array, 600);
    {
        const WordArray::Reading reading(array);
        const WordArray::Reading::Run before = reading.run(0, array.size());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, change(array));
        QCOMPARE(reading.run(0, array.size()).records, before.records);
        QCOMPARE(contentsOf(array).size(), 600);
        QCOMPARE(array.at(0), word(0));
    }
    change(array); // once the reading is over
}

void TestWordArray::aGrowthThatCannotMapKeepsTheArray_data()
{
    QTest::addColumn<int>("filled");
    QTest::newRow("the first index block growing") << 512;
    QTest::newRow("a further index block") << 65536;
}

// Out of address space, a growth fails as a whole: the array keeps what it held.
void TestWordArray::aGrowthThatCannotMapKeepsTheArray()
{
    QFETCH(int, filled);
    TextArray array(WordArray::Records::Yes);
    fill(array, filled);
    QTRY_COMPARE(BlockAllocator::pendingBytes(), qint64(0)); // none to take back instead of mapping
    bool refused = false;
    {
        AddressSpaceLimit limit(64 * 1024);
        QVERIFY(limit.active);
        try {
            array.resize(filled + 60000);
        } catch (const std::bad_alloc&) {
            refused = true;
        }
    }
    QVERIFY(refused);
    QCOMPARE(array.size(), filled);
    QCOMPARE(array.at(filled - 1), word(filled - 1));
    array.resize(filled + 60000);
    QCOMPARE(array.at(0), word(0));
}

QTEST_GUILESS_MAIN(TestWordArray)
#include "tst_word_array.moc"
