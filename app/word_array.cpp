#include "word_array.h"

void WordArray::resize(qsizetype size)
{
    if (size < size_) {
        // Drop the strings cut off, and the blocks no longer needed.
        for (qsizetype i = size; i < size_ && (i & BlockMask) != 0; ++i)
            (*this)[i] = QString();
        blocks_.resize((size + BlockMask) >> BlockBits);
    } else {
        while (qsizetype(blocks_.size()) << BlockBits < size)
            blocks_.push_back(std::make_unique<QString[]>(BlockSize));
    }
    size_ = size;
}

QStringList WordArray::toList() const
{
    QStringList list;
    list.reserve(size_);
    for (qsizetype i = 0; i < size_; ++i)
        list.append(at(i));
    return list;
}
