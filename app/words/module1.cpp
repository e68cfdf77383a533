#include "module1.h"

namespace Module1 {

WordArray DictionaryWords(WordArray::Records::Yes);
WordArray FoundWords;

void useCodePage(const SingleByteCodePage* codePage)
{
    DictionaryWords.setCodePage(codePage);
    FoundWords.setCodePage(codePage);
}

} // namespace Module1
