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
}

void WordArray::refuseWrite()
{
    throw std::logic_error("a word array was written or resized while a loop reads it");
}

WordArray::IndexBlock WordArray::mapIndexBlock(qsizetype capacity) const
{
    // Records first, for alignment; elements are cleared as the array grows over them.
    const size_t recordBytes = sizeof(quint64) * size_t(capacity);
    const BlockAllocator::Block memory = BlockAllocator::allocate(recordBytes
                                                                  + sizeof(TextBlocks::Handle) * size_t(capacity));
    char* bytes = static_cast<char*>(memory.memory);
    return {reinterpret_cast<quint64*>(bytes), reinterpret_cast<TextBlocks::Handle*>(bytes + recordBytes), memory,
            capacity};
}

void WordArray::addIndexBlock(qsizetype capacity)
{
    if (index_.size() == index_.capacity())
        index_.reserve(2 * index_.size() + 1); // so that the push_back cannot throw and lose the block
    index_.push_back(mapIndexBlock(capacity));
    capacity_ += capacity;
}

void WordArray::growFirstIndexBlock(qsizetype capacity)
{
    // Only the index entries move, never the text; a first block is at most a megabyte
    // or so, so copying and unmapping it at once costs no pause. Should the new block
    // fail to map, the array stays as it was.
    const IndexBlock grown = mapIndexBlock(capacity);
    IndexBlock& b = index_.front();
    const size_t n = size_t(b.capacity);
    std::memcpy(grown.record, b.record, n * sizeof(quint64));
    std::memcpy(grown.text, b.text, n * sizeof(TextBlocks::Handle));
    BlockAllocator::freeNow(b.memory);
    capacity_ += capacity - b.capacity;
    b = grown;
}

void WordArray::set(qsizetype index, const QByteArray& bytes, quint64 signature)
{
    IndexBlock& b = emptied(index);
    if (!bytes.isEmpty())
        store(b, index, text_.keep(index, bytes), bytes.size(), records_ ? signature : 0);
}

void WordArray::forgetText(IndexBlock& b, qsizetype index)
{
    const qsizetype slot = index & IndexMask;
    text_.forget(index, b.text[slot]);
    longLengths_.erase(index);
    b.record[slot] = 0;
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
    text_.cut(size);
    // Finding the blocks the kept elements use costs a pass over them, so it is only done
    // when few are kept, as when a new import or search starts over. A larger cut keeps
    // the text until the array is cut down that far.
    constexpr qsizetype FewKept = 4000;
    if (size <= FewKept) {
        text_.dropUnused([this](const auto& visit) {
            for (qsizetype i = 0; i < size_; ++i) {
                IndexBlock& b = block(i);
                if (lengthOf(b, i) != 0)
                    visit(i, b.text[i & IndexMask]);
            }
        });
    }
}

qint64 WordArray::heldBytes() const
{
    qint64 bytes = text_.heldBytes();
    for (const IndexBlock& b : index_)
        bytes += qint64(b.memory.bytes);
    return bytes;
}
