#include "module1.h"

namespace Module1 {

WordArray DictionaryWords(WordArray::Records::Yes);
WordArray FoundWords;

} // namespace Module1
