#include "word_array.h"

void WordArray::resize(qsizetype size)
{
    releaseSomeRetired();
    if (size < size_) {
        // Empty the cut-off part of the last block kept; retire the blocks after it.
        for (qsizetype i = size; i < size_ && (i & BlockMask) != 0; ++i)
            (*this)[i] = QString();
        const size_t kept = size_t((size + BlockMask) >> BlockBits);
        for (size_t block = kept; block < blocks_.size(); ++block)
            retired_.push_back(std::move(blocks_[block]));
        blocks_.resize(kept);
    } else {
        while (qsizetype(blocks_.size()) << BlockBits < size)
            blocks_.push_back(std::make_unique<QString[]>(BlockSize));
    }
    size_ = size;
}

void WordArray::releaseSomeRetired()
{
    // One block (4096 strings) every 32 growths: well under a millisecond at a time.
    if (retired_.empty() || ++growthsSinceRelease_ < 32)
        return;
    growthsSinceRelease_ = 0;
    retired_.pop_back();
}

QStringList WordArray::toList() const
{
    QStringList list;
    list.reserve(size_);
    for (qsizetype i = 0; i < size_; ++i)
        list.append(at(i));
    return list;
}
