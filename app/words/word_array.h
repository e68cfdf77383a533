#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "letter_signature.h"

#include <cstring>
#include <vector>

// An array of strings for millions of entries. The text lives in large blocks, one after
// another, and each element is a pointer and a length into them: no heap string per
// entry, and growing never moves or copies what is held, so it costs no pauses. An array
// that keeps signatures also holds each element's letter signature (see LetterSignature),
// computed once when the element is written.
//
// A small array holds small blocks: the first index block and the text blocks start at
// a page or so and double as the array grows, up to their full size.
//
// Shrinking to a few elements lets go of every block the kept elements do not use. The
// blocks go back to the system a slice at a time from the event loop (or at once where
// none runs), so neither the cut nor the release stalls the window.
class WordArray {
public:
    enum class Signatures { No, Yes };
    explicit WordArray(Signatures signatures = Signatures::No);
    ~WordArray();
    WordArray(const WordArray&) = delete;
    WordArray& operator=(const WordArray&) = delete;

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }

    // Valid until the element is written again or cut off.
    QStringView view(qsizetype index) const { return QStringView(text(index), length(index)); }
    QString at(qsizetype index) const { return view(index).toString(); }
    qsizetype length(qsizetype index) const { return block(index).length[index & IndexMask]; }
    // Zero for an array that keeps none.
    quint64 signature(qsizetype index) const
    {
        const IndexBlock& b = block(index);
        return b.signature ? b.signature[index & IndexMask] : 0;
    }

    // For loops over millions of elements: the lengths and signatures (null when the
    // array keeps none) of the elements from `index` on, `runLength(index)` of them or
    // up to the end of the array, whichever comes first.
    const quint32* lengths(qsizetype index) const { return block(index).length + (index & IndexMask); }
    const quint64* signatures(qsizetype index) const
    {
        const IndexBlock& b = block(index);
        return b.signature ? b.signature + (index & IndexMask) : nullptr;
    }
    static qsizetype runLength(qsizetype index) { return IndexSize - (index & IndexMask); }

    void set(qsizetype index, QStringView text)
    {
        // Inline for what an import and a search do per word: a short text into an empty
        // element, with room left in the current text block.
        IndexBlock& b = index_[size_t(index >> IndexBits)];
        const qsizetype slot = index & IndexMask;
        const qsizetype chars = text.size();
        if (b.length[slot] != 0 || chars == 0 || chars > freeChars_ || chars > LongTextChars) {
            setAnyway(b, slot, text);
            return;
        }
        std::memcpy(free_, text.utf16(), size_t(chars) * sizeof(char16_t));
        b.text[slot] = free_;
        b.length[slot] = quint32(chars);
        if (b.signature)
            b.signature[slot] = LetterSignature::of(text);
        free_ += chars;
        freeChars_ -= chars;
    }
    // The same; a long text is shared with whoever else holds it instead of copied.
    void set(qsizetype index, const QString& text);
    template <typename Text>
    void append(const Text& text)
    {
        resize(size_ + 1);
        set(size_ - 1, text);
    }
    // Keeps the elements below `size`; new elements are empty strings.
    void resize(qsizetype size)
    {
        // Growth by one inside the last block is what an import does per line.
        if (size == size_ + 1 && size_ < capacity_ && (size_ & IndexMask) != 0) {
            IndexBlock& b = index_.back();
            const qsizetype slot = size_ & IndexMask;
            b.text[slot] = nullptr;
            b.length[slot] = 0;
            if (b.signature)
                b.signature[slot] = 0;
            size_ = size;
            return;
        }
        resizeAnyway(size);
    }
    void clear() { resize(0); }

    QStringList toList() const;

    // Bytes of blocks this array holds now (not yet handed back for release).
    qint64 heldBytes() const;
    // Bytes handed back by every array and not yet returned to the system.
    static qint64 releasePendingBytes();

private:
    static constexpr int IndexBits = 16;
    static constexpr qsizetype IndexSize = qsizetype(1) << IndexBits;
    static constexpr qsizetype IndexMask = IndexSize - 1;
    // Text block size in characters; longer texts get a block of their own.
    static constexpr qsizetype TextBlockChars = qsizetype(1) << 19;
    static constexpr qsizetype LongTextChars = TextBlockChars / 4;
    // Where a new array's blocks start: one page of text, a few pages of index.
    static constexpr qsizetype FirstTextBlockChars = 2048;
    static constexpr qsizetype FirstIndexCapacity = 512;

    struct IndexBlock {
        const char16_t** text;
        quint32* length;
        quint64* signature; // null when the array keeps none
        void* memory;
        size_t bytes;
        qsizetype capacity; // IndexSize but for a first block still growing
    };
    struct TextBlock {
        char16_t* memory;
        size_t bytes;
        QString shared; // when set, the block is this string's text, not a block of our own
    };

    const IndexBlock& block(qsizetype index) const { return index_[size_t(index >> IndexBits)]; }
    const char16_t* text(qsizetype index) const { return block(index).text[index & IndexMask]; }
    void resizeAnyway(qsizetype size);
    void setAnyway(IndexBlock& b, qsizetype slot, QStringView text);
    char16_t* store(QStringView text);
    void record(IndexBlock& b, qsizetype slot, const char16_t* where, QStringView text);
    static void refuseOverlong(QStringView text);
    static void release(TextBlock& block);
    void addIndexBlock(qsizetype capacity);
    void growFirstIndexBlock(qsizetype capacity);
    void dropUnusedTextBlocks();

    bool signatures_;
    qsizetype size_ = 0;
    qsizetype capacity_ = 0; // elements the index blocks have room for
    std::vector<IndexBlock> index_;
    std::vector<TextBlock> text_;
    char16_t* free_ = nullptr; // the unused tail of the last text block
    qsizetype freeChars_ = 0;
    qsizetype nextTextChars_ = FirstTextBlockChars;
};
