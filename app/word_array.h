#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// An array of strings that grows in fixed blocks: growing never moves or copies the
// strings already held, so millions of entries cost no pauses and no slack beyond
// one block. Strings are shared with whoever else holds them (QString is implicitly shared).
// Blocks cut off by shrinking are let go a few at a time by the growths that follow:
// dropping a million strings at once would freeze the window for tens of milliseconds.
class WordArray {
public:
    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }

    const QString& at(qsizetype index) const { return blocks_[index >> BlockBits][index & BlockMask]; }
    QString& operator[](qsizetype index) { return blocks_[index >> BlockBits][index & BlockMask]; }

    void append(const QString& text)
    {
        resize(size_ + 1);
        (*this)[size_ - 1] = text;
    }
    // Keeps the elements below `size`; new elements are empty strings.
    void resize(qsizetype size);
    void clear() { resize(0); }

    QStringList toList() const;

private:
    static constexpr int BlockBits = 12;
    static constexpr qsizetype BlockSize = qsizetype(1) << BlockBits;
    static constexpr qsizetype BlockMask = BlockSize - 1;

    void releaseSomeRetired();

    std::vector<std::unique_ptr<QString[]>> blocks_;
    std::vector<std::unique_ptr<QString[]>> retired_;
    int growthsSinceRelease_ = 0;
    qsizetype size_ = 0;
};
