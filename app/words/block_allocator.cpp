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

    // Everything handed back, at once.
    void releaseAll()
    {
        for (std::deque<BlockAllocator::Block>* blocks : {&kept_, &pending_}) {
            for (const BlockAllocator::Block& block : *blocks)
                munmap(block.memory, block.bytes);
            blocks->clear();
        }
        pendingBytes_ = 0;
    }

private:
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
        while (!pending_.empty() && clock.nsecsElapsed() < SliceNs) {
            // A huge block (one very long line) goes in parts, each quick to unmap.
            BlockAllocator::Block& first = pending_.front();
            const size_t part = std::min(first.bytes, MaxUnmapBytes);
            munmap(first.memory, part);
            pendingBytes_ -= qint64(part);
            first.memory = static_cast<char*>(first.memory) + part;
            first.bytes -= part;
            if (first.bytes == 0)
                pending_.pop_front();
        }
        if (!pending_.empty())
            schedule();
        else
            malloc_trim(0); // whatever small pieces the heap kept from the work just done
    }

    static constexpr qint64 SliceNs = 2'000'000;
    static constexpr size_t MaxUnmapBytes = size_t(8) << 20; // a multiple of the page size
    static constexpr size_t MaxReusedBytes = size_t(1) << 20;

    std::deque<BlockAllocator::Block> pending_; // going back to the system
    std::deque<BlockAllocator::Block> kept_;    // waiting for reuse
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
    if (memory == MAP_FAILED && PendingRelease::instance().pendingBytes() != 0) {
        PendingRelease::instance().releaseAll();
        memory = map();
    }
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    return {memory, rounded};
}

void BlockAllocator::freeNow(Block block) { munmap(block.memory, block.bytes); }

void BlockAllocator::release(Block block) { PendingRelease::instance().add(block); }

qint64 BlockAllocator::pendingBytes() { return PendingRelease::instance().pendingBytes(); }

BlockAllocator::Reuse::Reuse() { PendingRelease::instance().startReuse(); }

BlockAllocator::Reuse::~Reuse() { PendingRelease::instance().endReuse(); }
