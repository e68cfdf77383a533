#pragma once

#include <QString>
#include <QStringView>

#include "block_allocator.h"
#include "letter_signature.h"
#include "long_text.h"
#include "single_byte_code_page.h"
#include "word_view.h"

#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

// An array of strings for millions of entries. The text lives in large blocks, one after
// another, and each element is a 32-bit handle (block number and offset) and a length
// into them: no heap string per entry, half the room of a pointer, and growing never
// moves or copies what is held, so it costs no pauses. Given a single-byte code page, an
// element is kept as its bytes wherever the code page has them (half the room of
// UTF-16), otherwise as UTF-16. An array that keeps records also holds
// each element's record (its length and letter signature, see LetterSignature), computed
// once when the element is written.
//
// A small array holds small blocks: the first index block and the text blocks start at
// a page or so and double as the array grows, up to their full size.
//
// Shrinking to a few elements lets go of every block the kept elements do not use
// (see BlockAllocator for when the memory goes back to the system).
class WordArray {
    struct IndexBlock;

public:
    enum class Records { No, Yes };
    explicit WordArray(Records records = Records::No);
    ~WordArray();
    WordArray(const WordArray&) = delete;
    WordArray& operator=(const WordArray&) = delete;

    // Elements written from now on are kept as bytes of this code page where it has them.
    // The code page cannot change while elements are kept as bytes of another one.
    void setCodePage(const SingleByteCodePage* codePage);
    const SingleByteCodePage* codePage() const { return codePage_; }

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }

    // Valid until the element is written again or cut off.
    WordView view(qsizetype index) const { return viewIn(block(index), index); }
    QString at(qsizetype index) const { return view(index).toString(); }
    qsizetype length(qsizetype index) const { return lengthOf(block(index), index); }
    // Zero for an array that keeps none.
    quint64 record(qsizetype index) const
    {
        const IndexBlock& b = block(index);
        return b.record ? b.record[index & IndexMask] : 0;
    }

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
        // their block, whichever comes first. `records` is null for an array that keeps none.
        class Run {
        public:
            const quint64* records;
            qsizetype count;
            // The run's element `k`, without looking for its block.
            WordView view(qsizetype k) const { return array_.viewIn(block_, first_ + k); }

        private:
            friend class Reading;
            Run(const WordArray& array, const IndexBlock& block, qsizetype first, qsizetype count)
                : records(block.record ? block.record + (first & IndexMask) : nullptr), count(count), array_(array),
                  block_(block), first_(first)
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

    void set(qsizetype index, QStringView text) { write(index, WordView(text), nullptr); }
    // The same; a long text is shared with whoever else holds it instead of copied.
    void set(qsizetype index, const QString& text) { write(index, WordView(QStringView(text)), &text); }
    // Bytes of this array's code page are copied as they are.
    void set(qsizetype index, const WordView& word)
    {
        if (word.codePage() && word.codePage() != codePage_) {
            QString scratch;
            write(index, WordView(word.decoded(scratch)), nullptr);
        } else {
            write(index, word, nullptr);
        }
    }
    template <typename Text>
    void append(const Text& text)
    {
        resize(size_ + 1);
        set(size_ - 1, text);
    }
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
    void clear() { resize(0); }

    // Bytes of blocks this array holds now (not yet handed back for release).
    qint64 heldBytes() const;

private:
    static constexpr int IndexBits = 16;
    static constexpr qsizetype IndexSize = qsizetype(1) << IndexBits;
    static constexpr qsizetype IndexMask = IndexSize - 1;
    // Text block size in bytes; a long text gets a block of its own.
    static constexpr qsizetype TextBlockBytes = 8 * LongTextChars;
    // A handle is a text block's number above the offset of the text in it; a long text's
    // block of its own holds it at offset 0. An array holds at most 2048 text blocks, so
    // 2 GB of short texts; beyond that a write fails as if memory had run out.
    static constexpr int OffsetBits = 20;
    static constexpr quint32 OffsetMask = (quint32(1) << OffsetBits) - 1;
    // In a handle: the text is UTF-16, not bytes of the code page.
    static constexpr quint32 Wide = quint32(1) << 31;
    static constexpr size_t MaxTextBlocks = size_t(1) << (31 - OffsetBits);
    static_assert(TextBlockBytes <= qsizetype(1) << OffsetBits);
    // Handles of an element with no text: never written (reads back null) or empty.
    static constexpr quint32 NoText = 0;
    static constexpr quint32 EmptyText = 1;
    // Where a new array's blocks start: one page of text, a few pages of index.
    static constexpr qsizetype FirstTextBlockBytes = 4096;
    static constexpr qsizetype FirstIndexCapacity = 512;

    struct IndexBlock {
        quint32* text; // handles
        quint64* record; // null when the array keeps none
        quint32* length; // null when it keeps records, which hold the length
        BlockAllocator::Block memory;
        qsizetype capacity; // IndexSize but for a first block still growing
    };
    struct TextBlock {
        BlockAllocator::Block memory;
        QString shared; // when set, the block is this string's text, not memory of our own
    };

    const IndexBlock& block(qsizetype index) const { return index_[size_t(index >> IndexBits)]; }
    IndexBlock& block(qsizetype index) { return index_[size_t(index >> IndexBits)]; }
    WordView viewIn(const IndexBlock& b, qsizetype index) const
    {
        const quint32 handle = b.text[index & IndexMask];
        const qsizetype length = lengthOf(b, index);
        const char* text = textOf(handle, length);
        if (handle & Wide)
            return WordView(QStringView(reinterpret_cast<const char16_t*>(text), length));
        return WordView(reinterpret_cast<const uchar*>(text), length, codePage_);
    }
    const char* textOf(quint32 handle, qsizetype length) const
    {
        static constexpr char nothing[2] = {};
        if (length == 0)
            return handle == NoText ? nullptr : nothing;
        return static_cast<const char*>(text_[(handle & ~Wide) >> OffsetBits].memory.memory) + (handle & OffsetMask);
    }
    qsizetype lengthOf(const IndexBlock& b, qsizetype index) const
    {
        const qsizetype slot = index & IndexMask;
        if (!b.length) {
            const qsizetype recorded = qsizetype(b.record[slot] >> LetterSignature::LengthShift);
            return recorded < LetterSignature::LongestRecordedLength ? recorded : longLength(index);
        }
        return b.length[slot];
    }
    // The element's text and length, and its record where the array keeps them.
    void store(IndexBlock& b, qsizetype index, quint32 handle, qsizetype length, quint64 signature)
    {
        const qsizetype slot = index & IndexMask;
        if (!b.record) {
            b.text[slot] = handle;
            b.length[slot] = quint32(length);
            return;
        }
        // First what may throw, so that an element never reads a length it lacks.
        if (length >= LetterSignature::LongestRecordedLength)
            keepLongLength(index, length);
        b.text[slot] = handle;
        b.record[slot] = LetterSignature::record(length, signature);
    }
    // Apart, so that what reads and writes every word stays small enough to inline.
    qsizetype longLength(qsizetype index) const;
    void keepLongLength(qsizetype index, qsizetype length);

    void refuseWhileRead() const
    {
        if (readers_ != 0)
            refuseWrite();
    }
    [[noreturn]] static void refuseWrite();

    // `word` is UTF-16 text or bytes of this array's code page.
    void write(qsizetype index, const WordView& word, const QString* owner)
    {
        refuseWhileRead();
        IndexBlock& b = block(index);
        const qsizetype n = word.size();
        // Inline for what an import and a search do per word: a short word kept as bytes,
        // into an empty element, with room left in the current text block.
        quint64 signature = 0;
        if (codePage_ && n != 0 && n <= freeBytes_ && n <= LongTextChars && lengthOf(b, index) == 0
            && copyAsBytes(word, reinterpret_cast<uchar*>(free_), signature)) {
            store(b, index, freeHandle_, n, signature);
            free_ += n;
            freeHandle_ += quint32(n);
            freeBytes_ -= n;
        } else {
            placeAnyway(b, index, word, owner);
        }
    }
    // Of the element as kept, where the array keeps records: bytes go through a table of 256.
    quint64 signatureOf(const char* text, bool wide, qsizetype length) const
    {
        if (!records_)
            return 0;
        if (wide)
            return LetterSignature::of(QStringView(reinterpret_cast<const char16_t*>(text), length));
        const auto* bytes = reinterpret_cast<const uchar*>(text);
        quint64 signature = 0;
        for (qsizetype k = 0; k < length; ++k)
            signature |= byteBits_[bytes[k]];
        return signature;
    }
    // Writes the word as bytes to `out` and gives their signature, which text on its way
    // to bytes gets in the same pass; false when the code page lacks a character of it.
    bool copyAsBytes(const WordView& word, uchar* out, quint64& signature) const
    {
        if (!word.codePage()) {
            quint64 bits = 0; // in a register: `out` may alias `signature`
            const bool encoded = codePage_->encode(word.text(), out, [&](uchar byte) { bits |= byteBits_[byte]; });
            signature = bits;
            return encoded;
        }
        std::memcpy(out, word.bytes(), size_t(word.size()));
        signature = signatureOf(reinterpret_cast<const char*>(out), false, word.size());
        return true;
    }
    void placeAnyway(IndexBlock& b, qsizetype index, const WordView& word, const QString* owner);
    struct Place {
        char* at;
        quint32 handle;
    };
    Place takeFree(qsizetype bytes, qsizetype alignment);
    Place storeInOwnBlock(qsizetype bytes);
    void makeRoomForTextBlock();
    void startTextBlock(qsizetype bytes);
    void clearElement(qsizetype index)
    {
        // Elements once cut off and now grown back start empty again.
        IndexBlock& b = block(index);
        const qsizetype slot = index & IndexMask;
        b.text[slot] = NoText;
        if (b.record)
            b.record[slot] = 0;
        else
            b.length[slot] = 0;
    }
    void resizeAnyway(qsizetype size);
    static void release(TextBlock& block);
    IndexBlock mapIndexBlock(qsizetype capacity) const;
    void addIndexBlock(qsizetype capacity);
    void growFirstIndexBlock(qsizetype capacity);
    void dropUnusedTextBlocks();

    bool records_;
    const SingleByteCodePage* codePage_ = nullptr;
    std::array<quint64, 256> byteBits_{}; // the signature bit of each byte of the code page
    mutable int readers_ = 0;
    qsizetype size_ = 0;
    qsizetype capacity_ = 0; // elements the index blocks have room for
    std::vector<IndexBlock> index_;
    std::vector<TextBlock> text_;
    // Where records hold lengths: those too long for a record, by element.
    std::unordered_map<qsizetype, qsizetype> longLengths_;
    char* free_ = nullptr; // the unused tail of the last text block
    quint32 freeHandle_ = 0; // its handle
    qsizetype freeBytes_ = 0;
    qsizetype nextTextBytes_ = FirstTextBlockBytes;
};
