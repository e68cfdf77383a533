#include "word_array.h"

#include "letter_signature.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/mman.h>
#include <unistd.h>

#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <new>

namespace {

// Blocks are mapped straight from the system, so letting one go returns its memory at
// once; the C library's heap would keep it until trimmed.
size_t pageRounded(size_t bytes)
{
    static const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

void* mapBlock(size_t bytes)
{
    // Populated at once: one call is far cheaper than a page fault per 4 KB later on.
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    return memory;
}

// Returns handed-back blocks to the system a slice at a time between deliveries of
// events: unmapping a gigabyte takes far longer than a frame.
class BlockRelease {
public:
    static BlockRelease& instance()
    {
        static BlockRelease* release = new BlockRelease; // outlives every static array
        return *release;
    }

    void add(void* memory, size_t bytes)
    {
        if (!QCoreApplication::instance()) {
            munmap(memory, bytes);
            return;
        }
        pending_.push_back({memory, bytes});
        pendingBytes_ += qint64(bytes);
        if (!scheduled_) {
            scheduled_ = true;
            QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { releaseSlice(); }, Qt::QueuedConnection);
        }
    }

    qint64 pendingBytes() const { return pendingBytes_; }

private:
    void releaseSlice()
    {
        scheduled_ = false;
        QElapsedTimer clock;
        clock.start();
        while (!pending_.empty() && clock.nsecsElapsed() < SliceNs) {
            // A huge block (one very long line) goes in parts, each quick to unmap.
            Pending& first = pending_.front();
            const size_t part = std::min(first.bytes, MaxUnmapBytes);
            munmap(first.memory, part);
            pendingBytes_ -= qint64(part);
            first.memory = static_cast<char*>(first.memory) + part;
            first.bytes -= part;
            if (first.bytes == 0)
                pending_.pop_front();
        }
        if (!pending_.empty()) {
            scheduled_ = true;
            QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { releaseSlice(); }, Qt::QueuedConnection);
        } else {
            malloc_trim(0); // whatever small pieces the heap kept from the work just done
        }
    }

    static constexpr qint64 SliceNs = 2'000'000;
    static constexpr size_t MaxUnmapBytes = size_t(8) << 20; // a multiple of the page size

    struct Pending {
        void* memory;
        size_t bytes;
    };
    std::deque<Pending> pending_;
    qint64 pendingBytes_ = 0;
    bool scheduled_ = false;
};

} // namespace

WordArray::WordArray(Signatures signatures) : signatures_(signatures == Signatures::Yes) {}

WordArray::~WordArray()
{
    for (const IndexBlock& b : index_)
        BlockRelease::instance().add(b.memory, b.bytes);
    for (TextBlock& b : text_)
        release(b);
}

void WordArray::release(TextBlock& block)
{
    if (!block.shared.isNull())
        block.shared = QString();
    else
        BlockRelease::instance().add(block.memory, block.bytes);
}

void WordArray::addIndexBlock(qsizetype capacity)
{
    const size_t textBytes = sizeof(const char16_t*) * size_t(capacity);
    const size_t signatureBytes = signatures_ ? sizeof(quint64) * size_t(capacity) : 0;
    const size_t bytes = pageRounded(textBytes + signatureBytes + sizeof(quint32) * size_t(capacity));
    char* memory = static_cast<char*>(mapBlock(bytes)); // zero-filled: every element empty
    IndexBlock b;
    b.text = reinterpret_cast<const char16_t**>(memory);
    b.signature = signatures_ ? reinterpret_cast<quint64*>(memory + textBytes) : nullptr;
    b.length = reinterpret_cast<quint32*>(memory + textBytes + signatureBytes);
    b.memory = memory;
    b.bytes = bytes;
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
    if (b.signature)
        std::memcpy(b.signature, old.signature, n * sizeof(quint64));
    munmap(old.memory, old.bytes);
}

char16_t* WordArray::store(QStringView text)
{
    const qsizetype chars = text.size();
    if (chars == 0) {
        // An empty text reads back as empty rather than null, and takes no room.
        static char16_t nothing = 0;
        return &nothing;
    }
    char16_t* place;
    if (chars > LongTextChars) {
        // A long text gets a block of its own; the shared block goes on being filled.
        const size_t bytes = pageRounded(size_t(chars) * sizeof(char16_t));
        place = static_cast<char16_t*>(mapBlock(bytes));
        text_.push_back({place, bytes, QString()});
    } else {
        if (chars > freeChars_) {
            qsizetype blockChars = nextTextChars_;
            while (blockChars < chars)
                blockChars *= 2;
            nextTextChars_ = std::min(blockChars * 2, TextBlockChars);
            const size_t bytes = size_t(blockChars) * sizeof(char16_t);
            free_ = static_cast<char16_t*>(mapBlock(bytes));
            freeChars_ = blockChars;
            text_.push_back({free_, bytes, QString()});
        }
        place = free_;
        free_ += chars;
        freeChars_ -= chars;
    }
    std::memcpy(place, text.utf16(), size_t(chars) * sizeof(char16_t));
    return place;
}

void WordArray::setAnyway(IndexBlock& b, qsizetype slot, QStringView text)
{
    refuseOverlong(text);
    const qsizetype old = qsizetype(b.length[slot]);
    if (!text.isEmpty() && text.size() <= old && old <= LongTextChars) {
        // A short element owns its text alone, so a shorter one can take its place.
        std::memmove(const_cast<char16_t*>(b.text[slot]), text.utf16(), size_t(text.size()) * sizeof(char16_t));
        record(b, slot, b.text[slot], text);
    } else {
        record(b, slot, store(text), text);
    }
}

void WordArray::set(qsizetype index, const QString& text)
{
    if (text.size() <= LongTextChars) {
        set(index, QStringView(text));
        return;
    }
    // Copying hundreds of megabytes into fresh memory takes seconds; the list and the
    // store hold the same very long entry instead.
    refuseOverlong(text);
    auto* where = const_cast<char16_t*>(reinterpret_cast<const char16_t*>(text.utf16()));
    text_.push_back({where, size_t(text.size()) * sizeof(char16_t), text});
    record(index_[size_t(index >> IndexBits)], index & IndexMask, where, text);
}

void WordArray::refuseOverlong(QStringView text)
{
    // Lengths are kept in 32 bits.
    if (text.size() > qsizetype(UINT32_MAX))
        throw std::bad_alloc();
}

void WordArray::record(IndexBlock& b, qsizetype slot, const char16_t* where, QStringView text)
{
    b.text[slot] = where;
    b.length[slot] = quint32(text.size());
    if (b.signature)
        b.signature[slot] = LetterSignature::of(text);
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
        for (qsizetype i = size_; i < size; ++i) {
            // Elements once cut off and now grown back start empty again.
            IndexBlock& b = index_[size_t(i >> IndexBits)];
            b.text[i & IndexMask] = nullptr;
            b.length[i & IndexMask] = 0;
            if (b.signature)
                b.signature[i & IndexMask] = 0;
        }
        size_ = size;
        return;
    }
    size_ = size;
    const size_t keptIndexBlocks = size_t((size + IndexMask) >> IndexBits);
    for (size_t i = keptIndexBlocks; i < index_.size(); ++i) {
        BlockRelease::instance().add(index_[i].memory, index_[i].bytes);
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
    std::vector<TextBlock> blocks = std::move(text_);
    std::sort(blocks.begin(), blocks.end(), [](const TextBlock& a, const TextBlock& b) { return a.memory < b.memory; });
    std::vector<bool> used(blocks.size(), false);
    for (qsizetype i = 0; i < size_; ++i) {
        const char16_t* t = text(i);
        if (!t)
            continue;
        auto after = std::upper_bound(blocks.begin(), blocks.end(), t,
                                      [](const char16_t* p, const TextBlock& b) { return p < b.memory; });
        if (after == blocks.begin())
            continue;
        const TextBlock& b = *(after - 1);
        if (t < b.memory + b.bytes / sizeof(char16_t))
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

QStringList WordArray::toList() const
{
    QStringList list;
    list.reserve(size_);
    for (qsizetype i = 0; i < size_; ++i)
        list.append(at(i));
    return list;
}

qint64 WordArray::heldBytes() const
{
    qint64 bytes = 0;
    for (const IndexBlock& b : index_)
        bytes += qint64(b.bytes);
    for (const TextBlock& b : text_)
        bytes += qint64(b.bytes);
    return bytes;
}

qint64 WordArray::releasePendingBytes() { return BlockRelease::instance().pendingBytes(); }
