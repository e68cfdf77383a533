#include "dictionary_line.h"

namespace DictionaryLine {

QStringView withoutSpaces(QStringView line, QString& scratch)
{
    const qsizetype firstSpace = line.indexOf(QLatin1Char(' '));
    if (firstSpace < 0)
        return line;
    scratch.resize(line.size());
    QChar* out = scratch.data();
    for (QChar c : line) {
        if (c != QLatin1Char(' '))
            *out++ = c;
    }
    return QStringView(scratch.constData(), out - scratch.constData());
}

} // namespace DictionaryLine
