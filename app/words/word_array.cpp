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

void WordArray::setCodePage(const SingleByteCodePage* codePage)
{
    if (codePage == codePage_)
        return;
    if (size_ != 0)
        throw std::logic_error("the code page of a word array changed while it kept words");
    codePage_ = codePage;
    for (int byte = 0; byte < 256; ++byte)
        byteBits_[size_t(byte)] = codePage_ ? LetterSignature::bit(codePage_->decode(uchar(byte))) : 0;
}

WordArray::IndexBlock WordArray::mapIndexBlock(qsizetype capacity) const
{
    // Records first, for alignment; elements are cleared as the array grows over them.
    const size_t recordBytes = sizeof(quint64) * size_t(capacity);
    const BlockAllocator::Block memory =
        BlockAllocator::allocate(recordBytes + sizeof(TextBlocks::Handle) * size_t(capacity));
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

void WordArray::set(qsizetype index, const QString& text)
{
    if (text.size() * qsizetype(sizeof(char16_t)) <= LongBytes) {
        write(index, WordView(QStringView(text)));
        return;
    }
    refuseWhileRead();
    IndexBlock& b = block(index);
    forgetText(b, index, 0, false);
    store(b, index, text_.keep(index, text), text.size(), records_ ? LetterSignature::of(text) : 0);
}

void WordArray::set(qsizetype index, const QByteArray& bytes, quint64 signature)
{
    refuseWhileRead();
    IndexBlock& b = block(index);
    forgetText(b, index, 0, false);
    if (bytes.isEmpty())
        store(b, index, EmptyText, 0, 0);
    else
        store(b, index, text_.keep(index, bytes), bytes.size(), records_ ? signature : 0);
}

char* WordArray::forgetText(IndexBlock& b, qsizetype index, qsizetype bytes, bool wide)
{
    const TextBlocks::Handle handle = b.text[index & IndexMask];
    const qsizetype old = lengthOf(b, index);
    b.text[index & IndexMask] = EmptyText;
    b.record[index & IndexMask] = 0;
    longLengths_.erase(index);
    if (old == 0)
        return nullptr;
    // A short element owns its text alone, so a shorter one of its kind can take its place.
    if (!TextBlocks::isOwn(handle)) {
        const bool oldWide = !codePage_;
        const qsizetype oldBytes = oldWide ? 2 * old : old;
        return bytes != 0 && wide == oldWide && bytes <= oldBytes ? const_cast<char*>(text_.at(index, handle))
                                                                  : nullptr;
    }
    text_.forget(index, handle);
    return nullptr;
}

void WordArray::writeAnyway(IndexBlock& b, qsizetype index, const WordView& word)
{
    const qsizetype n = word.size();
    if (n == 0) {
        // An empty text reads back as empty rather than null, and takes no room.
        forgetText(b, index, 0, false);
        return;
    }
    // Bytes where the code page has them all, UTF-16 otherwise.
    QString scratch;
    const QStringView text = word.codePage() && word.codePage() != codePage_ ? word.decoded(scratch) : word.text();
    const bool asBytes = codePage_ != nullptr;
    const qsizetype bytes = asBytes ? n : 2 * n;
    const TextBlocks::Handle oldHandle = b.text[index & IndexMask];
    char* reused = forgetText(b, index, bytes, !asBytes);
    const auto place = [&](qsizetype size, bool wide) -> TextBlocks::Place {
        if (reused)
            return {reused, oldHandle};
        return size > LongBytes ? text_.takeOwn(index, size, wide) : text_.take(index, size, wide ? 2 : 1);
    };
    if (asBytes) {
        const TextBlocks::Place room = place(n, false);
        if (word.codePage() == codePage_ ? (std::memmove(room.at, word.bytes(), size_t(n)), true)
                                         : codePage_->encode(text, reinterpret_cast<uchar*>(room.at))) {
            store(b, index, room.handle, n, signatureOfBytes(room.at, n));
            return;
        }
        // A character the code page lacks: the text is kept as UTF-16, in memory of its own.
        if (TextBlocks::isOwn(room.handle))
            text_.forget(index, room.handle);
        else if (room.at != reused)
            text_.untake(room, n);
        const TextBlocks::Place own = text_.takeOwn(index, 2 * n, true);
        std::memcpy(own.at, text.utf16(), size_t(2 * n));
        store(b, index, own.handle, n, records_ ? LetterSignature::of(text) : 0);
        return;
    }
    const TextBlocks::Place room = place(2 * n, true);
    std::memmove(room.at, text.utf16(), size_t(2 * n));
    store(b, index, room.handle, n, records_ ? LetterSignature::of(text) : 0);
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
                if (length(i) != 0)
                    visit(i, block(i).text[i & IndexMask]);
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
