#include "module1.h"

namespace Module1 {

WordArray DictionaryWords(WordArray::Records::Yes);
WordArray FoundWords;

void GrowDictionaryWords(qint64 n) { DictionaryWords.resize(qsizetype(n) + 1); }
void GrowFoundWords(qint64 n) { FoundWords.resize(qsizetype(n) + 1); }

} // namespace Module1
