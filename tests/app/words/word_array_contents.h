#pragma once

#include "words/word_array.h"

#include <QStringList>

inline QString textAt(const WordArray& array, qsizetype index) { return array.view(index).toString(); }
// Zero signature for an array that keeps none.
inline quint64 recordAt(const WordArray& array, qsizetype index)
{
    return WordArray::Reading(array).run(index, index + 1).records[0];
}

// Every element of the array from `first` on, for comparing a store with what it should hold.
inline QStringList contentsOf(const WordArray& array, qsizetype first = 0)
{
    QStringList list;
    for (qsizetype i = first; i < array.size(); ++i)
        list.append(textAt(array, i));
    return list;
}

// One more element, as an import or a search adds it.
inline void append(WordArray& array, const WordView& word)
{
    array.resize(array.size() + 1);
    array.set(array.size() - 1, word);
}

// A text as the store keeps it, in the word files' code page; it lives as long as the
// expression that uses it.
struct Stored {
    QByteArray bytes;
    operator WordView() const { return WordView(bytes); }
};
inline Stored stored(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    if (!SingleByteCodePage::ansi().encode(text, reinterpret_cast<uchar*>(bytes.data())))
        qFatal("a test word has a character the word files' code page lacks");
    return {bytes};
}
