#include "module1.h"

#include <optional>
#include <stdexcept>

namespace Module1 {

WordArray DictionaryWords(WordArray::Records::Yes);
WordArray FoundWords;

void useSingleByteCodePage(const std::array<char16_t, 256>& decoded)
{
    static std::optional<SingleByteCodePage> codePage;
    if (!codePage)
        codePage.emplace(decoded);
    else if (codePage->decoded() != decoded)
        throw std::logic_error("the platform's code page changed while the program ran");
    DictionaryWords.setCodePage(&*codePage);
    FoundWords.setCodePage(&*codePage);
}

} // namespace Module1
