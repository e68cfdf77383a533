#pragma once

#include "words/word_array.h"

#include <QStringList>

// Every element of the array from `first` on, for comparing a store with what it should hold.
inline QStringList contentsOf(const WordArray& array, qsizetype first = 0)
{
    QStringList list;
    for (qsizetype i = first; i < array.size(); ++i)
        list.append(array.at(i));
    return list;
}
