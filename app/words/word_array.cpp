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

void WordArray::addIndexBlock(qsizetype capacity)
{
    const size_t textBytes = sizeof(const char16_t*) * size_t(capacity);
    const size_t recordBytes = records_ ? sizeof(quint64) * size_t(capacity) : 0;
    // Zero-filled: every element empty.
    const BlockAllocator::Block memory =
        BlockAllocator::allocate(textBytes + recordBytes + sizeof(quint32) * size_t(capacity));
    char* bytes = static_cast<char*>(memory.memory);
    IndexBlock b;
    b.text = reinterpret_cast<const char16_t**>(bytes);
    b.record = records_ ? reinterpret_cast<quint64*>(bytes + textBytes) : nullptr;
    b.length = reinterpret_cast<quint32*>(bytes + textBytes + recordBytes);
    b.memory = memory;
    b.capacity = capacity;
    index_.push_back(b);
    capacity_ += capacity;
}

void WordArray::growFirstIndexBlock(qsizetype capacity)
{
    // Only the index entries move, never the text; a first block is at most a
    // megabyte or so, so copying and unmapping it at once costs no pause.
    const IndexBlock old = index_.front();
    index_.clear();
    capacity_ = 0;
    addIndexBlock(capacity);
    IndexBlock& b = index_.front();
    const size_t n = size_t(old.capacity);
    std::memcpy(b.text, old.text, n * sizeof(const char16_t*));
    std::memcpy(b.length, old.length, n * sizeof(quint32));
    if (b.record)
        std::memcpy(b.record, old.record, n * sizeof(quint64));
    BlockAllocator::freeNow(old.memory);
}

const char16_t* WordArray::placeAnyway(IndexBlock& b, qsizetype slot, QStringView text, const QString* owner)
{
    const qsizetype chars = text.size();
    if (chars > qsizetype(UINT32_MAX)) // lengths are kept in 32 bits
        throw std::bad_alloc();
    if (chars == 0) {
        // An empty text reads back as empty rather than null, and takes no room.
        static const char16_t nothing = 0;
        return &nothing;
    }
    if (chars > LongTextChars)
        return owner ? share(*owner) : storeInOwnBlock(text);
    const qsizetype old = qsizetype(b.length[slot]);
    if (chars <= old && old <= LongTextChars) {
        // A short element owns its text alone, so a shorter one can take its place.
        auto* place = const_cast<char16_t*>(b.text[slot]);
        std::memmove(place, text.utf16(), size_t(chars) * sizeof(char16_t));
        return place;
    }
    if (chars > freeChars_)
        startTextBlock(chars);
    return takeFree(text);
}

const char16_t* WordArray::share(const QString& owner)
{
    text_.push_back({{const_cast<QChar*>(owner.constData()), size_t(owner.size()) * sizeof(char16_t)}, owner});
    return reinterpret_cast<const char16_t*>(owner.utf16());
}

char16_t* WordArray::storeInOwnBlock(QStringView text)
{
    // The shared block goes on being filled.
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(text.size()) * sizeof(char16_t));
    text_.push_back({memory, QString()});
    auto* place = static_cast<char16_t*>(memory.memory);
    std::memcpy(place, text.utf16(), size_t(text.size()) * sizeof(char16_t));
    return place;
}

void WordArray::startTextBlock(qsizetype chars)
{
    qsizetype blockChars = nextTextChars_;
    while (blockChars < chars)
        blockChars *= 2;
    nextTextChars_ = std::min(blockChars * 2, TextBlockChars);
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(blockChars) * sizeof(char16_t));
    text_.push_back({memory, QString()});
    free_ = static_cast<char16_t*>(memory.memory);
    freeChars_ = blockChars;
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
    const auto start = [](const TextBlock& b) { return static_cast<const char16_t*>(b.memory.memory); };
    std::vector<TextBlock> blocks = std::move(text_);
    std::sort(blocks.begin(), blocks.end(), [&](const TextBlock& a, const TextBlock& b) { return start(a) < start(b); });
    std::vector<bool> used(blocks.size(), false);
    for (qsizetype i = 0; i < size_; ++i) {
        const char16_t* t = text(i);
        if (!t)
            continue;
        auto after = std::upper_bound(blocks.begin(), blocks.end(), t,
                                      [&](const char16_t* p, const TextBlock& b) { return p < start(b); });
        if (after == blocks.begin())
            continue;
        const TextBlock& b = *(after - 1);
        if (t < start(b) + b.memory.bytes / sizeof(char16_t))
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
    freeChars_ = 0;
    nextTextChars_ = FirstTextBlockChars;
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
