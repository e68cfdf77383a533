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
    const size_t textBytes = sizeof(const char*) * size_t(capacity);
    const size_t recordBytes = records_ ? sizeof(quint64) * size_t(capacity) : 0;
    // Elements are cleared as the array grows over them.
    const BlockAllocator::Block memory =
        BlockAllocator::allocate(textBytes + recordBytes + sizeof(quint32) * size_t(capacity));
    char* bytes = static_cast<char*>(memory.memory);
    IndexBlock b;
    b.text = reinterpret_cast<const char**>(bytes);
    b.record = records_ ? reinterpret_cast<quint64*>(bytes + textBytes) : nullptr;
    b.length = reinterpret_cast<quint32*>(bytes + textBytes + recordBytes);
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
    std::memcpy(grown.text, b.text, n * sizeof(const char*));
    std::memcpy(grown.length, b.length, n * sizeof(quint32));
    if (b.record)
        std::memcpy(grown.record, b.record, n * sizeof(quint64));
    BlockAllocator::freeNow(b.memory);
    capacity_ += capacity - b.capacity;
    b = grown;
}

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

void WordArray::placeAnyway(IndexBlock& b, qsizetype slot, const WordView& word, const QString* owner)
{
    const qsizetype n = word.size();
    if (n >= qsizetype(Wide)) // lengths are kept in 31 bits
        throw std::bad_alloc();
    if (n == 0) {
        // An empty text reads back as empty rather than null, and takes no room.
        static const char nothing[2] = {};
        b.text[slot] = nothing;
        b.length[slot] = 0;
        return;
    }
    if (owner && n > LongTextChars) {
        makeRoomForOneMore(text_);
        text_.push_back({{const_cast<QChar*>(owner->constData()), size_t(n) * sizeof(char16_t)}, *owner});
        b.text[slot] = reinterpret_cast<const char*>(owner->utf16());
        b.length[slot] = quint32(n) | Wide;
        return;
    }
    // A short element owns its text alone, so a shorter one of its kind can take its place.
    const quint32 old = b.length[slot];
    const bool reusable = b.text[slot] && n <= qsizetype(old & ~Wide) && (old & ~Wide) <= quint32(LongTextChars);
    char* const oldPlace = const_cast<char*>(b.text[slot]);
    if (codePage_) {
        const bool inPlace = reusable && !(old & Wide);
        const bool ownBlock = !inPlace && n > LongTextChars;
        char* place = inPlace ? oldPlace : ownBlock ? storeInOwnBlock(n) : takeFree(n, 1);
        bool kept = true;
        if (word.codePage())
            std::memmove(place, word.bytes(), size_t(n));
        else
            kept = codePage_->encode(word.text(), reinterpret_cast<uchar*>(place));
        if (kept) {
            b.text[slot] = place;
            b.length[slot] = quint32(n);
            return;
        }
        // A character the code page lacks: the room taken for the bytes goes back.
        if (ownBlock) {
            BlockAllocator::freeNow(text_.back().memory);
            text_.pop_back();
        } else if (!inPlace && place + n == free_) {
            free_ = place;
            freeBytes_ += n;
        }
    }
    const size_t bytes = size_t(n) * sizeof(char16_t);
    char* place = reusable && (old & Wide) ? oldPlace : n > LongTextChars ? storeInOwnBlock(qsizetype(bytes))
                                                                            : takeFree(qsizetype(bytes), 2);
    std::memmove(place, word.text().utf16(), bytes);
    b.text[slot] = place;
    b.length[slot] = quint32(n) | Wide;
}

char* WordArray::takeFree(qsizetype bytes, qsizetype alignment)
{
    qsizetype pad = qsizetype(quintptr(free_) % quintptr(alignment));
    if (pad != 0)
        pad = alignment - pad;
    if (pad + bytes > freeBytes_) {
        startTextBlock(bytes); // page-aligned
        pad = 0;
    }
    char* place = free_ + pad;
    free_ = place + bytes;
    freeBytes_ -= pad + bytes;
    return place;
}

char* WordArray::storeInOwnBlock(qsizetype bytes)
{
    // The shared block goes on being filled.
    makeRoomForOneMore(text_);
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(bytes));
    text_.push_back({memory, QString()});
    return static_cast<char*>(memory.memory);
}

void WordArray::startTextBlock(qsizetype bytes)
{
    qsizetype blockBytes = nextTextBytes_;
    while (blockBytes < bytes)
        blockBytes *= 2;
    makeRoomForOneMore(text_);
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(blockBytes));
    text_.push_back({memory, QString()});
    nextTextBytes_ = std::min(blockBytes * 2, TextBlockBytes);
    free_ = static_cast<char*>(memory.memory);
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
    dropUnusedTextBlocks();
}

void WordArray::dropUnusedTextBlocks()
{
    // Finding the blocks the kept elements use costs a look-up per element, so it is only
    // done when few are kept, as when a new import or search starts over. A larger cut
    // keeps the text until the array is cut down that far.
    constexpr qsizetype FewKept = 4096;
    if (size_ > FewKept)
        return;
    const auto start = [](const TextBlock& b) { return static_cast<const char*>(b.memory.memory); };
    std::vector<TextBlock> blocks = std::move(text_);
    std::sort(blocks.begin(), blocks.end(), [&](const TextBlock& a, const TextBlock& b) { return start(a) < start(b); });
    std::vector<bool> used(blocks.size(), false);
    for (qsizetype i = 0; i < size_; ++i) {
        const char* t = text(i);
        if (!t)
            continue;
        auto after = std::upper_bound(blocks.begin(), blocks.end(), t,
                                      [&](const char* p, const TextBlock& b) { return p < start(b); });
        if (after == blocks.begin())
            continue;
        const TextBlock& b = *(after - 1);
        if (t < start(b) + b.memory.bytes)
            used[size_t(after - blocks.begin() - 1)] = true;
    }
    text_.clear();
    for (size_t k = 0; k < blocks.size(); ++k) {
        if (used[k])
            text_.push_back(blocks[k]);
        else
            release(blocks[k]);
    }
    // New text goes to a fresh block, never into the tail of one that may have gone;
    // what is left is small again, and so are the blocks for what comes.
    free_ = nullptr;
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
