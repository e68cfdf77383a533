#include "module1.h"

namespace Module1 {

QList<QString> DictionaryWords;
QList<QString> FoundWords;

namespace {

void grow(QList<QString>& words, qint64 n)
{
    const qsizetype size = qsizetype(n) + 1;
    // Growing one element at a time: reserve geometrically so a million-line import
    // does not copy the array a million times.
    if (size > words.capacity())
        words.reserve(std::max<qsizetype>(size, words.capacity() * 2));
    words.resize(size);
}

} // namespace

void GrowDictionaryWords(qint64 n) { grow(DictionaryWords, n); }
void GrowFoundWords(qint64 n) { grow(FoundWords, n); }

} // namespace Module1
