#include "letter_signature.h"

#include "code_page/single_byte_code_page.h"

#include <QChar>

LetterSignature::Tables::Tables()
{
    for (int c = 0; c < 65536; ++c) {
        const char16_t l = QChar(char16_t(c)).toLower().unicode();
        lower[c] = l;
        if (l >= u'а' && l <= u'я')
            bit[c] = quint8(l - u'а');
        else if (l == u'ё')
            bit[c] = 32;
        else if (l >= u'a' && l <= u'z')
            bit[c] = quint8(33 + (l - u'a') / 2);
        else
            bit[c] = quint8(46 + l % 10);
    }
    for (int byte = 0; byte < 256; ++byte)
        byteBit[size_t(byte)] = quint64(1) << bit[SingleByteCodePage::ansi().decode(uchar(byte))];
}
