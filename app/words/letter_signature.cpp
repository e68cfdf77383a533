#include "letter_signature.h"

#include <QChar>

LetterSignature::Tables::Tables()
{
    for (int c = 0; c < 65536; ++c) {
        const char16_t l = QChar(char16_t(c)).toLower().unicode();
        lower[c] = l;
        if (l != c)
            changed.push_back(char16_t(c));
        if (l >= u'а' && l <= u'я')
            bit[c] = quint8(l - u'а');
        else if (l == u'ё')
            bit[c] = 32;
        else if (l >= u'a' && l <= u'z')
            bit[c] = quint8(33 + (l - u'a') / 2);
        else
            bit[c] = quint8(46 + l % 10);
    }
}
