#pragma once

#include "words/word_array.h"

#include <QStringList>

// The text's bytes in the word files' code page, as the store keeps them.
inline QByteArray stored(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    if (!SingleByteCodePage::ansi().encode(text, reinterpret_cast<uchar*>(bytes.data())))
        qFatal("a test word has a character the word files' code page lacks");
    return bytes;
}

inline QString textAt(const WordArray& array, qsizetype index) { return array.view(index).toString(); }

// Every element of the array from `first` on, for comparing a store with what it should hold.
inline QStringList contentsOf(const WordArray& array, qsizetype first = 0)
{
    QStringList list;
    for (qsizetype i = first; i < array.size(); ++i)
        list.append(textAt(array, i));
    return list;
}

// A word array as the tests speak to it: in texts, and one element more at a time.
class TextArray : public WordArray {
public:
    using WordArray::set;
    using WordArray::WordArray;
    void set(qsizetype index, QStringView text) { set(index, WordView(stored(text))); }
    void append(const WordView& word) { resize(size() + 1), set(size() - 1, word); }
    void append(QStringView text) { append(WordView(stored(text))); }
    void clear() { resize(0); }
    QString at(qsizetype index) const { return textAt(*this, index); }
    qsizetype length(qsizetype index) const { return view(index).size(); }
    quint64 record(qsizetype index) const { return Reading(*this).run(index, index + 1).records[0]; }
};
