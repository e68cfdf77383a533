#include "dictionary_line.h"

namespace DictionaryLine {

QString withoutSpaces(QStringView line)
{
    if (!line.contains(QLatin1Char(' ')))
        return line.toString();
    QString entry(line.size(), Qt::Uninitialized);
    QChar* out = entry.data();
    for (QChar c : line) {
        if (c != QLatin1Char(' '))
            *out++ = c;
    }
    entry.truncate(out - entry.constData());
    return entry;
}

} // namespace DictionaryLine
