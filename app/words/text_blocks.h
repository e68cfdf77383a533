#pragma once

#include "block_allocator.h"

#include <QByteArray>

#include <unordered_map>
#include <vector>

// The text of a word array's elements, found by a 32-bit handle and the element's number.
// Short texts lie one after another in shared blocks, which start at a page and double up
// to a megabyte; a long text has memory of its own, or stays in the byte array it came in.
//
// A handle is a block number above the offset in the block. The number counts from the
// block that was being filled when the element's group (65536 elements side by side) first
// got a text, so any number of blocks fits in 32 bits; a text whose block would be too far
// from there is kept as a long one.
class TextBlocks {
public:
    using Handle = quint32;
    static constexpr int GroupBits = 16;
    // A text longer than this is long. At a quarter of a block, the tail a block can leave
    // unused stays small.
    static constexpr qsizetype LongBytes = 256 * 1024;

    TextBlocks() = default;
    ~TextBlocks();
    TextBlocks(const TextBlocks&) = delete;
    TextBlocks& operator=(const TextBlocks&) = delete;

    struct Place {
        char* at;
        Handle handle;
    };
    // Room for `bytes` (at most LongBytes) of the element's text in a shared block. Throws
    // std::bad_alloc.
    Place take(qsizetype element, qsizetype bytes)
    {
        const qsizetype group = element >> GroupBits;
        if (bytes <= freeBytes_ && group < qsizetype(base_.size())) {
            const quint32 relative = quint32(blocks_.size() - 1) - base_[size_t(group)];
            if (relative < OwnBlock)
                return takeFree(relative, bytes);
        }
        return takeAnyway(element, bytes);
    }
    // A long text: memory of its own, or the byte array itself, shared with its other holders.
    Place takeOwn(qsizetype element, qsizetype bytes);
    Handle keep(qsizetype element, const QByteArray& bytes);
    // Lets go of the element's long text, if it has one.
    void forget(qsizetype element, Handle handle)
    {
        if (isOwn(handle))
            forgetOwn(element);
    }

    static bool isOwn(Handle handle) { return handle >> OffsetBits == OwnBlock; }
    const char* at(qsizetype element, Handle handle) const
    {
        if (isOwn(handle))
            return own_.at(element).at;
        const size_t block = base_[size_t(element >> GroupBits)] + (handle >> OffsetBits);
        return static_cast<const char*>(blocks_[block].memory) + (handle & OffsetMask);
    }

    // Lets go of the long texts of the elements from `size` on.
    void cut(qsizetype size);
    // Lets go of every shared block none of the kept elements uses, and renumbers their
    // handles; `forEachKeptHandle(visit)` calls visit(element, handle&) for each kept
    // element that has a text. For a few elements, all in the first group.
    template <typename ForEachHandle>
    void dropUnused(ForEachHandle forEachKeptHandle);

    qint64 heldBytes() const;

private:
    static constexpr int OffsetBits = 20;
    static constexpr quint32 OffsetMask = (quint32(1) << OffsetBits) - 1;
    static constexpr quint32 OwnBlock = (quint32(1) << (32 - OffsetBits)) - 1;
    static constexpr qsizetype BlockBytes = qsizetype(1) << OffsetBits;
    static constexpr qsizetype FirstBlockBytes = 4096;

    struct Own {
        const char* at;
        BlockAllocator::Block memory; // empty for a shared array
        QByteArray bytes;
    };

    // The next `bytes` of the last block's free tail; `relative` is the block's number for
    // the element's group.
    Place takeFree(quint32 relative, qsizetype bytes)
    {
        const Place place{free_, relative << OffsetBits | freeOffset_};
        free_ += bytes;
        freeOffset_ += quint32(bytes);
        freeBytes_ -= bytes;
        return place;
    }
    Place takeAnyway(qsizetype element, qsizetype bytes);
    void startBlock(qsizetype bytes);
    void forgetOwn(qsizetype element);
    using OwnTexts = std::unordered_map<qsizetype, Own>;
    // Hands its memory back and forgets it; the next one.
    OwnTexts::iterator release(OwnTexts::iterator own);
    void renumber(std::vector<quint32>& renumbered);

    std::vector<BlockAllocator::Block> blocks_;
    std::vector<quint32> base_; // per group, the block its handles count from
    OwnTexts own_;              // by element
    char* free_ = nullptr;      // the unused tail of the last block
    quint32 freeOffset_ = 0;
    qsizetype freeBytes_ = 0;
    qsizetype nextBlockBytes_ = FirstBlockBytes;
};

template <typename ForEachHandle>
void TextBlocks::dropUnused(ForEachHandle forEachKeptHandle)
{
    // Which blocks the kept elements use, then their new numbers, counted from group 0's base.
    constexpr quint32 Unused = ~quint32(0);
    std::vector<quint32> renumbered(blocks_.size(), Unused);
    forEachKeptHandle([&](qsizetype element, Handle& handle) {
        if (!isOwn(handle))
            renumbered[base_[size_t(element >> GroupBits)] + (handle >> OffsetBits)] = 0;
    });
    renumber(renumbered);
    forEachKeptHandle([&](qsizetype element, Handle& handle) {
        if (!isOwn(handle)) {
            const quint32 block = base_[size_t(element >> GroupBits)] + (handle >> OffsetBits);
            handle = renumbered[block] << OffsetBits | (handle & OffsetMask);
        }
    });
    std::fill(base_.begin(), base_.end(), 0);
}
