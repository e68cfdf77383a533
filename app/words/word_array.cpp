#include "word_array.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

WordArray::WordArray(Records records) : records_(records == Records::Yes) {}

WordArray::~WordArray()
{
    for (const IndexBlock& b : index_)
        BlockAllocator::release(b.memory);
    for (TextBlock& b : text_)
        release(b);
}

void WordArray::refuseWrite()
{
    throw std::logic_error("a word array was written or resized while a loop reads it");
}

void WordArray::release(TextBlock& block)
{
    if (!block.shared.isNull())
        block.shared = QString();
    else
        BlockAllocator::release(block.memory);
}

namespace {

// So that a push_back after a block was mapped cannot throw and lose the block.
template <typename T>
void makeRoomForOneMore(std::vector<T>& blocks)
{
    if (blocks.size() == blocks.capacity())
        blocks.reserve(2 * blocks.size() + 1);
}

} // namespace

WordArray::IndexBlock WordArray::mapIndexBlock(qsizetype capacity) const
{
    const size_t recordBytes = records_ ? sizeof(quint64) * size_t(capacity) : 0; // first, for alignment
    const size_t textBytes = sizeof(quint32) * size_t(capacity);
    const size_t lengthBytes = records_ ? 0 : sizeof(quint32) * size_t(capacity);
    // Elements are cleared as the array grows over them.
    const BlockAllocator::Block memory = BlockAllocator::allocate(recordBytes + textBytes + lengthBytes);
    char* bytes = static_cast<char*>(memory.memory);
    IndexBlock b;
    b.record = records_ ? reinterpret_cast<quint64*>(bytes) : nullptr;
    b.text = reinterpret_cast<quint32*>(bytes + recordBytes);
    b.length = records_ ? nullptr : reinterpret_cast<quint32*>(bytes + recordBytes + textBytes);
    b.memory = memory;
    b.capacity = capacity;
    return b;
}

void WordArray::addIndexBlock(qsizetype capacity)
{
    makeRoomForOneMore(index_);
    index_.push_back(mapIndexBlock(capacity));
    capacity_ += capacity;
}

void WordArray::growFirstIndexBlock(qsizetype capacity)
{
    // Only the index entries move, never the text; a first block is at most a
    // megabyte or so, so copying and unmapping it at once costs no pause. Should the
    // new block fail to map, the array stays as it was.
    const IndexBlock grown = mapIndexBlock(capacity);
    IndexBlock& b = index_.front();
    const size_t n = size_t(b.capacity);
    std::memcpy(grown.text, b.text, n * sizeof(quint32));
    if (b.record)
        std::memcpy(grown.record, b.record, n * sizeof(quint64));
    else
        std::memcpy(grown.length, b.length, n * sizeof(quint32));
    BlockAllocator::freeNow(b.memory);
    capacity_ += capacity - b.capacity;
    b = grown;
}

qsizetype WordArray::longLength(qsizetype index) const { return longLengths_.at(index); }

void WordArray::keepLongLength(qsizetype index, qsizetype length) { longLengths_[index] = length; }

void WordArray::setCodePage(const SingleByteCodePage* codePage)
{
    if (codePage == codePage_)
        return;
    if (codePage_ && size_ != 0)
        throw std::logic_error("the code page of a word array changed while it kept words");
    codePage_ = codePage;
    if (codePage_) {
        for (int byte = 0; byte < 256; ++byte)
            byteBits_[size_t(byte)] = LetterSignature::bit(codePage_->decode(uchar(byte)));
    }
}

void WordArray::placeAnyway(IndexBlock& b, qsizetype index, const WordView& word, const QString* owner)
{
    const qsizetype n = word.size();
    if (n >= qsizetype(Wide)) // lengths are kept in 31 bits
        throw std::bad_alloc();
    if (n == 0) {
        // An empty text reads back as empty rather than null, and takes no room.
        store(b, index, EmptyText, 0, 0);
        return;
    }
    if (owner && n > LongTextChars) {
        makeRoomForTextBlock();
        text_.push_back({{const_cast<QChar*>(owner->constData()), size_t(n) * sizeof(char16_t)}, *owner});
        store(b, index, quint32(text_.size() - 1) << OffsetBits | Wide, n,
              signatureOf(reinterpret_cast<const char*>(owner->utf16()), true, n));
        return;
    }
    // A short element owns its text alone, so a shorter one of its kind can take its place.
    const qsizetype old = lengthOf(b, index);
    const quint32 oldHandle = b.text[index & IndexMask];
    const bool reusable = n <= old && old <= LongTextChars;
    const Place oldPlace{const_cast<char*>(textOf(oldHandle, old)), oldHandle};
    if (codePage_) {
        const bool inPlace = reusable && !(oldHandle & Wide);
        const bool ownBlock = !inPlace && n > LongTextChars;
        const Place place = inPlace ? oldPlace : ownBlock ? storeInOwnBlock(n) : takeFree(n, 1);
        bool kept = true;
        if (word.codePage())
            std::memmove(place.at, word.bytes(), size_t(n));
        else
            kept = codePage_->encode(word.text(), reinterpret_cast<uchar*>(place.at));
        if (kept) {
            store(b, index, place.handle, n, signatureOf(place.at, false, n));
            return;
        }
        // A character the code page lacks: the room taken for the bytes goes back.
        if (ownBlock) {
            BlockAllocator::freeNow(text_.back().memory);
            text_.pop_back();
        } else if (!inPlace && place.at + n == free_) {
            free_ = place.at;
            freeHandle_ = place.handle;
            freeBytes_ += n;
        }
    }
    const size_t bytes = size_t(n) * sizeof(char16_t);
    const Place place = reusable && (oldHandle & Wide) ? oldPlace
                        : n > LongTextChars            ? storeInOwnBlock(qsizetype(bytes))
                                                       : takeFree(qsizetype(bytes), 2);
    std::memmove(place.at, word.text().utf16(), bytes);
    store(b, index, place.handle | Wide, n, signatureOf(place.at, true, n));
}

WordArray::Place WordArray::takeFree(qsizetype bytes, qsizetype alignment)
{
    qsizetype pad = qsizetype(quintptr(free_) % quintptr(alignment));
    if (pad != 0)
        pad = alignment - pad;
    if (pad + bytes > freeBytes_) {
        startTextBlock(bytes); // page-aligned
        pad = 0;
    }
    const Place place{free_ + pad, freeHandle_ + quint32(pad)};
    free_ = place.at + bytes;
    freeHandle_ = place.handle + quint32(bytes);
    freeBytes_ -= pad + bytes;
    return place;
}

WordArray::Place WordArray::storeInOwnBlock(qsizetype bytes)
{
    // The shared block goes on being filled.
    makeRoomForTextBlock();
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(bytes));
    text_.push_back({memory, QString()});
    return {static_cast<char*>(memory.memory), quint32(text_.size() - 1) << OffsetBits};
}

void WordArray::makeRoomForTextBlock()
{
    if (text_.size() == MaxTextBlocks)
        throw std::bad_alloc();
    makeRoomForOneMore(text_);
}

void WordArray::startTextBlock(qsizetype bytes)
{
    qsizetype blockBytes = nextTextBytes_;
    while (blockBytes < bytes)
        blockBytes *= 2;
    makeRoomForTextBlock();
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(blockBytes));
    text_.push_back({memory, QString()});
    nextTextBytes_ = std::min(blockBytes * 2, TextBlockBytes);
    free_ = static_cast<char*>(memory.memory);
    freeHandle_ = quint32(text_.size() - 1) << OffsetBits;
    freeBytes_ = blockBytes;
}

void WordArray::resizeAnyway(qsizetype size)
{
    if (size >= size_) {
        while (capacity_ < size) {
            if (index_.empty())
                addIndexBlock(std::max(FirstIndexCapacity, std::min(size, IndexSize)));
            else if (index_.back().capacity < IndexSize)
                growFirstIndexBlock(std::min(IndexSize, std::max(index_.back().capacity * 2, size)));
            else
                addIndexBlock(IndexSize);
        }
        for (qsizetype i = size_; i < size; ++i)
            clearElement(i);
        size_ = size;
        return;
    }
    size_ = size;
    const size_t keptIndexBlocks = size_t((size + IndexMask) >> IndexBits);
    for (size_t i = keptIndexBlocks; i < index_.size(); ++i) {
        BlockAllocator::release(index_[i].memory);
        capacity_ -= index_[i].capacity;
    }
    index_.resize(keptIndexBlocks);
    std::erase_if(longLengths_, [size](const auto& entry) { return entry.first >= size; });
    dropUnusedTextBlocks();
}

void WordArray::dropUnusedTextBlocks()
{
    // Finding the blocks the kept elements use costs a pass over them, so it is only
    // done when few are kept, as when a new import or search starts over. A larger cut
    // keeps the text until the array is cut down that far.
    constexpr qsizetype FewKept = 4096;
    if (size_ > FewKept)
        return;
    constexpr quint32 Unused = ~quint32(0);
    std::vector<quint32> renumbered(text_.size(), Unused);
    const auto number = [](quint32 handle) { return (handle & ~Wide) >> OffsetBits; };
    for (qsizetype i = 0; i < size_; ++i) {
        if (length(i) != 0)
            renumbered[number(block(i).text[i & IndexMask])] = 0;
    }
    quint32 kept = 0;
    for (size_t k = 0; k < text_.size(); ++k) {
        if (renumbered[k] == Unused) {
            release(text_[k]);
        } else {
            renumbered[k] = kept;
            if (kept != k)
                text_[kept] = std::move(text_[k]);
            ++kept;
        }
    }
    text_.resize(kept);
    for (qsizetype i = 0; i < size_; ++i) {
        quint32& handle = block(i).text[i & IndexMask];
        if (length(i) != 0)
            handle = renumbered[number(handle)] << OffsetBits | (handle & (Wide | OffsetMask));
    }
    // New text goes to a fresh block, never into the tail of one that may have gone;
    // what is left is small again, and so are the blocks for what comes.
    free_ = nullptr;
    freeHandle_ = 0;
    freeBytes_ = 0;
    nextTextBytes_ = FirstTextBlockBytes;
}

qint64 WordArray::heldBytes() const
{
    qint64 bytes = 0;
    for (const IndexBlock& b : index_)
        bytes += qint64(b.memory.bytes);
    for (const TextBlock& b : text_)
        bytes += qint64(b.memory.bytes);
    return bytes;
}
