#pragma once

#include "code_page/single_byte_code_page.h"

#include <QString>
#include <QStringDecoder>

// Windows-1251, the code page the import reads where the platform has none of its own.
inline const SingleByteCodePage* cp1251()
{
    static const SingleByteCodePage codePage = [] {
        std::array<char16_t, 256> decoded{};
        for (int byte = 0; byte < 256; ++byte) {
            const char c = char(byte);
            decoded[byte] = QString(QStringDecoder("windows-1251").decode(QByteArrayView(&c, 1))).at(0).unicode();
        }
        return SingleByteCodePage(decoded);
    }();
    return &codePage;
}
