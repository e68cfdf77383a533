#include "single_byte_code_page.h"

SingleByteCodePage::SingleByteCodePage(const std::array<char16_t, 256>& decoded)
    : decoded_(decoded), encoded_(65536, NoByte)
{
    // Where two bytes decode alike, the first one stands for the character.
    for (int byte = 255; byte >= 0; --byte)
        encoded_[decoded[byte]] = quint16(byte);
}
