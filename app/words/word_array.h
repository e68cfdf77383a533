#pragma once

#include <QByteArray>

#include "block_allocator.h"
#include "letter_signature.h"
#include "text_blocks.h"
#include "word_view.h"

#include <cstring>
#include <unordered_map>
#include <vector>

// An array of strings for millions of entries. Each element is a 32-bit handle to its
// text (see TextBlocks) and a 64-bit record: its length, and its letter signature (see
// LetterSignature) where the array keeps signatures; no heap string per entry, and
// growing never moves or copies what is held, so it costs no pauses. An element is kept as
// its bytes in the word files' code page (see WordView).
//
// A small array holds little: the first index block starts at a few pages and doubles as
// the array grows, up to its full size. Shrinking to a few elements lets go of every
// block the kept elements do not use (see BlockAllocator for when the memory goes back).
class WordArray {
    struct IndexBlock;

public:
    enum class Records { No, Yes };
    explicit WordArray(Records records = Records::No);
    ~WordArray();
    WordArray(const WordArray&) = delete;
    WordArray& operator=(const WordArray&) = delete;

    // A text longer than this has memory of its own; the bytes of a line that long may be
    // given in an array of their own, which is then kept rather than copied.
    static constexpr qsizetype LongBytes = TextBlocks::LongBytes;

    qsizetype size() const { return size_; }

    // Valid until the element is written again or cut off.
    WordView view(qsizetype index) const { return viewIn(block(index), index); }

    // Reads millions of elements, run by run, through pointers that stay valid for as long
    // as the reading lasts, also while the reader lets the event loop run: until it ends,
    // the array refuses every write and resize (std::logic_error), whoever asks.
    class Reading {
    public:
        explicit Reading(const WordArray& array) : array_(array) { ++array_.readers_; }
        ~Reading() { --array_.readers_; }
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

        // The elements from `index` on that lie side by side: up to `end` or the end of
        // their block, whichever comes first.
        class Run {
        public:
            const quint64* records;
            qsizetype count;
            // The run's element `k`, without looking for its block.
            WordView view(qsizetype k) const { return array_.viewIn(block_, first_ + k); }

        private:
            friend class Reading;
            Run(const WordArray& array, const IndexBlock& block, qsizetype first, qsizetype count)
                : records(block.record + (first & IndexMask)), count(count), array_(array), block_(block),
                  first_(first)
            {
            }
            const WordArray& array_;
            const IndexBlock& block_;
            qsizetype first_;
        };
        Run run(qsizetype index, qsizetype end) const
        {
            return {array_, array_.block(index), index, std::min(end - index, IndexSize - (index & IndexMask))};
        }

    private:
        const WordArray& array_;
    };

    // Copies the word's bytes.
    void set(qsizetype index, const WordView& word)
    {
        IndexBlock& b = emptied(index);
        const qsizetype n = word.size();
        if (n == 0)
            return;
        const TextBlocks::Place place = n <= LongBytes ? text_.take(index, n) : text_.takeOwn(index, n);
        std::memcpy(place.at, word.bytes(), size_t(n));
        store(b, index, place.handle, n, records_ ? LetterSignature::of(word.bytes(), n) : 0);
    }
    // Shares the bytes instead of copying them; `signature` is theirs (LetterSignature::of).
    void set(qsizetype index, const QByteArray& bytes, quint64 signature);
    // Keeps the elements below `size`; new elements are empty strings.
    void resize(qsizetype size)
    {
        refuseWhileRead();
        // Growth by one into room the index blocks have is what an import does per line.
        if (size == size_ + 1 && size_ < capacity_) {
            clearElement(size_);
            size_ = size;
            return;
        }
        resizeAnyway(size);
    }

    // Bytes of blocks this array holds now (not yet handed back for release).
    qint64 heldBytes() const;

private:
    // 8192 elements (96 KB) a block: the last one, mapped whole though partly used, costs little.
    static constexpr int IndexBits = 13;
    static constexpr qsizetype IndexSize = qsizetype(1) << IndexBits;
    static constexpr qsizetype IndexMask = IndexSize - 1;
    static constexpr qsizetype FirstIndexCapacity = 512;

    struct IndexBlock {
        quint64* record;
        TextBlocks::Handle* text;
        BlockAllocator::Block memory;
        qsizetype capacity; // IndexSize but for a first block still growing
    };

    const IndexBlock& block(qsizetype index) const { return index_[size_t(index >> IndexBits)]; }
    IndexBlock& block(qsizetype index) { return index_[size_t(index >> IndexBits)]; }
    WordView viewIn(const IndexBlock& b, qsizetype index) const
    {
        const qsizetype length = lengthOf(b, index);
        if (length == 0)
            return WordView();
        return WordView(reinterpret_cast<const uchar*>(text_.at(index, b.text[index & IndexMask])), length);
    }
    qsizetype lengthOf(const IndexBlock& b, qsizetype index) const
    {
        const qsizetype recorded = qsizetype(b.record[index & IndexMask] >> LetterSignature::LengthShift);
        return recorded < LetterSignature::LongestRecordedLength ? recorded : longLengths_.at(index);
    }
    // The element's text and record; first what may throw, so that an element never
    // reads a length it lacks.
    void store(IndexBlock& b, qsizetype index, TextBlocks::Handle handle, qsizetype length, quint64 signature)
    {
        if (length >= LetterSignature::LongestRecordedLength)
            longLengths_[index] = length;
        const qsizetype slot = index & IndexMask;
        b.text[slot] = handle;
        b.record[slot] = LetterSignature::record(length, signature);
    }

    void refuseWhileRead() const
    {
        if (readers_ != 0)
            refuseWrite();
    }
    [[noreturn]] static void refuseWrite();

    // The element's index block, the element emptied first.
    IndexBlock& emptied(qsizetype index)
    {
        refuseWhileRead();
        IndexBlock& b = block(index);
        if (lengthOf(b, index) != 0)
            forgetText(b, index);
        return b;
    }
    void forgetText(IndexBlock& b, qsizetype index);
    // Elements once cut off and now grown back start empty again.
    void clearElement(qsizetype index) { block(index).record[index & IndexMask] = 0; }
    void resizeAnyway(qsizetype size);
    IndexBlock mapIndexBlock(qsizetype capacity) const;
    void addIndexBlock(qsizetype capacity);
    void growFirstIndexBlock(qsizetype capacity);

    bool records_;
    mutable int readers_ = 0;
    qsizetype size_ = 0;
    qsizetype capacity_ = 0; // elements the index blocks have room for
    std::vector<IndexBlock> index_;
    TextBlocks text_;
    // Lengths too long for a record, by element.
    std::unordered_map<qsizetype, qsizetype> longLengths_;
};
