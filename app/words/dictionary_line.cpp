#include "dictionary_line.h"

namespace DictionaryLine {

namespace {

// Copies the characters that are not spaces; `out` may be `begin` itself.
QChar* copyWithoutSpaces(const QChar* begin, const QChar* end, QChar* out)
{
    for (const QChar* c = begin; c != end; ++c) {
        if (*c != QLatin1Char(' '))
            *out++ = *c;
    }
    return out;
}

} // namespace

QStringView withoutSpaces(QStringView line, QString& scratch)
{
    if (!line.contains(QLatin1Char(' ')))
        return line;
    scratch.resize(line.size());
    const QChar* end = copyWithoutSpaces(line.begin(), line.end(), scratch.data());
    return QStringView(scratch.constData(), end);
}

void removeSpaces(QString& line)
{
    if (!line.contains(QLatin1Char(' ')))
        return;
    QChar* begin = line.data();
    line.truncate(copyWithoutSpaces(begin, begin + line.size(), begin) - begin);
}

} // namespace DictionaryLine
