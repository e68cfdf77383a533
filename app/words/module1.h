#pragma once

#include "word_array.h"

// The program-wide word store. Both arrays have lower bound 0, live for the whole
// run and are never cleared: a new import or search resets its counter, and the
// first growth afterwards cuts the array down to the new size.
namespace Module1 {

// The imported dictionary at indices 1..WordCount; element 0 stays empty. Keeps each
// word's record (length and letter signature) for the search.
extern WordArray DictionaryWords;
// The last search's words at indices 0..FoundCount - 1.
extern WordArray FoundWords;

// Re-size to the indices 0..n, keeping elements 0..min(old upper index, n); new elements
// are empty strings. Inline: the import and the search grow by one per word.
inline void GrowDictionaryWords(qint64 n) { DictionaryWords.resize(qsizetype(n) + 1); }
inline void GrowFoundWords(qint64 n) { FoundWords.resize(qsizetype(n) + 1); }

} // namespace Module1
