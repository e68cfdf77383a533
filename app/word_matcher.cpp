#include "word_matcher.h"

#include "letter_signature.h"

WordMatcher::WordMatcher(const QString& letters, Mode mode)
    : letters_(letters), mode_(mode), signature_(LetterSignature::of(letters)), inLetters_(65536 / 64, 0),
      slotOf_(65536, 0)
{
    for (QChar c : letters_)
        inLetters_[c.unicode() >> 6] |= quint64(1) << (c.unicode() & 63);
    remaining_.push_back(0); // slot 0: characters that are not among the letters
    for (QChar c : letters_) {
        const char16_t lower = LetterSignature::lower(c.unicode());
        if (slotOf_[lower] == 0) {
            slotOf_[lower] = quint16(remaining_.size());
            remaining_.push_back(0);
        }
        ++remaining_[slotOf_[lower]];
    }
}

QString WordMatcher::lowerCase(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (QChar c : text)
        *out++ = QChar(LetterSignature::lower(c.unicode()));
    return result;
}

bool WordMatcher::matches(QStringView word)
{
    const qsizetype length = word.size();
    const qsizetype letterCount = letters_.size();
    if (mode_ == Mode::Exact ? length != letterCount : length > letterCount)
        return false;
    if (letterCount == 0) // nothing occurs in empty letters, not even the empty first character
        return false;
    if (length == 0)
        return mode_ == Mode::Compose;
    const char16_t* lower = LetterSignature::lowerTable();
    const char16_t* text = word.utf16();
    if (!occursInLetters(lower[text[0]]))
        return false;

    // Each character takes one of its letter's remaining uses; slot 0 (not among the
    // letters) has none. The uses taken are given back afterwards.
    const char16_t* typed = reinterpret_cast<const char16_t*>(letters_.constData());
    const quint16* slotOf = slotOf_.data();
    int* remaining = remaining_.data();
    bool identical = length == letterCount; // lower-cased word equal to the letters as typed
    qsizetype matched = 0;
    for (; matched < length; ++matched) {
        const char16_t c = lower[text[matched]];
        identical = identical && c == typed[matched];
        if (--remaining[slotOf[c]] < 0)
            break;
    }
    const qsizetype taken = matched < length ? matched + 1 : length;
    for (qsizetype k = 0; k < taken; ++k)
        ++remaining[slotOf[lower[text[k]]]];
    if (matched < length)
        return false;
    return mode_ == Mode::Exact || !identical;
}
