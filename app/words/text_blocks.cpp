#include "text_blocks.h"

#include <algorithm>
#include <new>

TextBlocks::~TextBlocks()
{
    for (const BlockAllocator::Block& block : blocks_)
        BlockAllocator::release(block);
    while (!own_.empty())
        release(own_.begin());
}

TextBlocks::Place TextBlocks::takeAnyway(qsizetype element, qsizetype bytes)
{
    const size_t group = size_t(element >> GroupBits);
    if (group >= base_.size())
        base_.resize(group + 1, quint32(std::max<size_t>(blocks_.size(), 1) - 1));
    if (bytes > freeBytes_)
        startBlock(bytes);
    const quint32 relative = quint32(blocks_.size() - 1) - base_[group];
    return relative < OwnBlock ? takeFree(relative, bytes) : takeOwn(element, bytes);
}

void TextBlocks::startBlock(qsizetype bytes)
{
    qsizetype blockBytes = nextBlockBytes_;
    while (blockBytes < bytes)
        blockBytes *= 2;
    if (blocks_.size() == blocks_.capacity())
        blocks_.reserve(2 * blocks_.size() + 1); // so that the push_back cannot throw and lose the block
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(blockBytes));
    blocks_.push_back(memory);
    nextBlockBytes_ = std::min(blockBytes * 2, BlockBytes);
    free_ = static_cast<char*>(memory.memory);
    freeOffset_ = 0;
    freeBytes_ = blockBytes;
}

TextBlocks::Place TextBlocks::takeOwn(qsizetype element, qsizetype bytes)
{
    const BlockAllocator::Block memory = BlockAllocator::allocate(size_t(bytes));
    try {
        own_[element] = {static_cast<const char*>(memory.memory), memory, {}};
    } catch (...) {
        BlockAllocator::freeNow(memory);
        throw;
    }
    return {static_cast<char*>(memory.memory), OwnBlock << OffsetBits};
}

TextBlocks::Handle TextBlocks::keep(qsizetype element, const QByteArray& bytes)
{
    own_[element] = {bytes.constData(), {}, bytes};
    return OwnBlock << OffsetBits;
}

void TextBlocks::forgetOwn(qsizetype element) { release(own_.find(element)); }

TextBlocks::OwnTexts::iterator TextBlocks::release(OwnTexts::iterator own)
{
    BlockAllocator::release(own->second.memory);
    BlockAllocator::release(std::move(own->second.bytes));
    return own_.erase(own);
}

void TextBlocks::cut(qsizetype size)
{
    for (auto it = own_.begin(); it != own_.end();)
        it = it->first >= size ? release(it) : std::next(it);
    base_.resize(std::min(base_.size(), size_t((size + (qsizetype(1) << GroupBits) - 1) >> GroupBits)));
}

void TextBlocks::renumber(std::vector<quint32>& renumbered)
{
    quint32 kept = 0;
    for (size_t k = 0; k < blocks_.size(); ++k) {
        if (renumbered[k] != 0) { // none of the kept elements uses it
            BlockAllocator::release(blocks_[k]);
        } else {
            renumbered[k] = kept;
            blocks_[kept++] = blocks_[k];
        }
    }
    blocks_.resize(kept);
    // New text goes to a fresh block, never into the tail of one that may have gone; what
    // is left is small again, and so are the blocks for what comes.
    free_ = nullptr;
    freeOffset_ = 0;
    freeBytes_ = 0;
    nextBlockBytes_ = FirstBlockBytes;
}

qint64 TextBlocks::heldBytes() const
{
    qint64 bytes = 0;
    for (const BlockAllocator::Block& block : blocks_)
        bytes += qint64(block.bytes);
    for (const auto& [element, own] : own_)
        bytes += qint64(own.memory.bytes) + own.bytes.size();
    return bytes;
}
