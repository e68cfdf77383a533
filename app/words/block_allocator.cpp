#include "block_allocator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/mman.h>
#include <unistd.h>

#include <malloc.h>

#include <algorithm>
#include <deque>
#include <new>
#include <optional>

namespace {

size_t pageRounded(size_t bytes)
{
    static const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (std::max<size_t>(bytes, 1) + page - 1) / page * page;
}

// Hands released blocks back to the system between deliveries of events: unmapping a
// gigabyte takes far longer than a frame.
class PendingRelease {
public:
    static PendingRelease& instance()
    {
        static PendingRelease* release = new PendingRelease; // outlives every static array
        return *release;
    }

    void add(BlockAllocator::Block block)
    {
        if (!QCoreApplication::instance()) {
            munmap(block.memory, block.bytes);
            return;
        }
        pendingBytes_ += qint64(block.bytes);
        if (reuses_ != 0 && block.bytes <= MaxReusedBytes) {
            kept_.push_back(block);
            return;
        }
        pending_.push_back(block);
        schedule();
    }

    void add(QByteArray bytes)
    {
        if (!QCoreApplication::instance() || !bytes.isDetached())
            return; // gone with its last holder
        pendingBytes_ += bytes.size();
        arrays_.push_back(std::move(bytes));
        schedule();
    }

    qint64 pendingBytes() const { return pendingBytes_; }

    // A whole handed-back block of exactly `bytes`, taken back; none when there is none.
    std::optional<BlockAllocator::Block> takeBack(size_t bytes)
    {
        // The most recent first: the front of those going may be half unmapped.
        for (std::deque<BlockAllocator::Block>* blocks : {&kept_, &pending_}) {
            for (auto it = blocks->rbegin(); it != blocks->rend(); ++it) {
                if (it->bytes == bytes) {
                    const BlockAllocator::Block block = *it;
                    blocks->erase(std::next(it).base());
                    pendingBytes_ -= qint64(bytes);
                    return block;
                }
            }
        }
        return std::nullopt;
    }

    void startReuse() { ++reuses_; }
    void endReuse()
    {
        if (--reuses_ != 0)
            return;
        pending_.insert(pending_.end(), kept_.begin(), kept_.end());
        kept_.clear();
        if (!pending_.empty())
            schedule();
    }

    // Gives back at most MaxUnmapBytes of what waits, of the blocks going back first; false
    // when nothing waits.
    bool releasePart()
    {
        if (pending_.empty() && !arrays_.empty())
            return releaseArrayPart();
        std::deque<BlockAllocator::Block>& blocks = pending_.empty() ? kept_ : pending_;
        if (blocks.empty())
            return false;
        // A huge block (one very long line) goes in parts, each quick to unmap.
        BlockAllocator::Block& first = blocks.front();
        const size_t part = std::min(first.bytes, MaxUnmapBytes);
        munmap(first.memory, part);
        pendingBytes_ -= qint64(part);
        first.memory = static_cast<char*>(first.memory) + part;
        first.bytes -= part;
        if (first.bytes == 0)
            blocks.pop_front();
        return true;
    }

private:
    // The pages of the first array are let go of before the array itself, so that freeing it
    // unmaps nothing resident.
    bool releaseArrayPart()
    {
        const QByteArray& first = arrays_.front();
        const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
        const quintptr start = quintptr(first.constData()) + arrayDrained_;
        const quintptr from = (start + page - 1) / page * page;
        const quintptr to = (quintptr(first.constData()) + quintptr(first.size())) / page * page;
        if (from < to) {
            const size_t part = std::min(size_t(to - from), MaxUnmapBytes);
            madvise(reinterpret_cast<void*>(from), part, MADV_DONTNEED);
            arrayDrained_ = from + part - quintptr(first.constData());
            pendingBytes_ -= qint64(from + part - start);
            return true;
        }
        pendingBytes_ -= first.size() - qint64(arrayDrained_);
        arrays_.pop_front();
        arrayDrained_ = 0;
        return true;
    }

    void schedule()
    {
        if (scheduled_)
            return;
        scheduled_ = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this] { releaseSlice(); }, Qt::QueuedConnection);
    }

    void releaseSlice()
    {
        scheduled_ = false;
        QElapsedTimer clock;
        clock.start();
        while ((!pending_.empty() || !arrays_.empty()) && clock.nsecsElapsed() < SliceNs)
            releasePart();
        if (!pending_.empty() || !arrays_.empty())
            schedule();
        else
            malloc_trim(0); // whatever small pieces the heap kept from the work just done
    }

    static constexpr qint64 SliceNs = 2'000'000;
    static constexpr size_t MaxUnmapBytes = size_t(8) << 20; // a multiple of the page size
    static constexpr size_t MaxReusedBytes = size_t(1) << 20;

    std::deque<BlockAllocator::Block> pending_; // going back to the system
    std::deque<BlockAllocator::Block> kept_;    // waiting for reuse
    std::deque<QByteArray> arrays_;             // going back to the heap
    size_t arrayDrained_ = 0;                   // bytes of the first whose pages are gone
    int reuses_ = 0;
    qint64 pendingBytes_ = 0;
    bool scheduled_ = false;
};

} // namespace

BlockAllocator::Block BlockAllocator::allocate(size_t bytes)
{
    const size_t rounded = pageRounded(bytes);
    if (const std::optional<Block> reused = PendingRelease::instance().takeBack(rounded))
        return *reused;
    // Populated at once: one call is far cheaper than a page fault per 4 KB later on.
    const auto map = [rounded] {
        return mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    };
    void* memory = map();
    while (memory == MAP_FAILED && PendingRelease::instance().releasePart())
        memory = map();
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    return {memory, rounded};
}

void BlockAllocator::freeNow(Block block) { munmap(block.memory, block.bytes); }

void BlockAllocator::release(Block block) { PendingRelease::instance().add(block); }

void BlockAllocator::release(QByteArray bytes) { PendingRelease::instance().add(std::move(bytes)); }

qint64 BlockAllocator::pendingBytes() { return PendingRelease::instance().pendingBytes(); }

BlockAllocator::Reuse::Reuse() { PendingRelease::instance().startReuse(); }

BlockAllocator::Reuse::~Reuse() { PendingRelease::instance().endReuse(); }
