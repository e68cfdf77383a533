#include "dictionary_line.h"

#include <algorithm>

namespace DictionaryLine {

namespace {
constexpr char16_t Space = u' ';
}

QStringView withoutSpaces(QStringView line, QString& scratch)
{
    // Most lines are a word, far too short for a library call's set-up to pay off.
    const char16_t* begin = line.utf16();
    const char16_t* firstSpace = std::find(begin, begin + line.size(), Space);
    if (firstSpace == begin + line.size())
        return line;
    scratch.resize(line.size());
    char16_t* out = reinterpret_cast<char16_t*>(scratch.data());
    const char16_t* end = std::remove_copy(begin, begin + line.size(), out, Space);
    return QStringView(out, end - out);
}

void removeSpaces(QString& line)
{
    const qsizetype firstSpace = line.indexOf(Space);
    if (firstSpace < 0)
        return;
    char16_t* begin = reinterpret_cast<char16_t*>(line.data());
    line.truncate(std::remove(begin + firstSpace, begin + line.size(), Space) - begin);
}

} // namespace DictionaryLine
