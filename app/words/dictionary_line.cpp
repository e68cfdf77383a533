#include "dictionary_line.h"

#include "letter_signature.h"

#include <algorithm>

namespace DictionaryLine {

QByteArrayView withoutSpaces(QByteArrayView line, QByteArray& scratch)
{
    if (!line.contains(' '))
        return line;
    scratch.resize(line.size());
    const char* end = std::remove_copy(line.begin(), line.end(), scratch.data(), ' ');
    return QByteArrayView(scratch.constData(), end - scratch.constData());
}

bool LongEntry::next()
{
    if (read_ == 0)
        entry_.detach(); // written in place below
    char* bytes = entry_.data();
    const qsizetype end = std::min(entry_.size(), read_ + SliceBytes);
    // In locals: writes through `bytes` could alias the members.
    const quint64* bits = LetterSignature::byteBits().data();
    quint64 signature = signature_;
    qsizetype kept = kept_;
    for (qsizetype k = read_; k < end; ++k) {
        const uchar byte = uchar(bytes[k]);
        bytes[kept] = char(byte);
        const bool letter = byte != ' ';
        kept += letter;
        signature |= bits[byte] & -quint64(letter);
    }
    signature_ = signature;
    kept_ = kept;
    read_ = end;
    if (read_ < entry_.size())
        return true;
    entry_.truncate(kept_);
    entry_.squeeze(); // the room of the removed spaces and beyond: shrunk in place, not copied
    return false;
}

} // namespace DictionaryLine
