#include "word_matcher.h"

#include "letter_signature.h"

WordMatcher::WordMatcher(const QString& letters, Mode mode)
    : letters_(letters), mode_(mode), signature_(LetterSignature::of(letters)), inLetters_(65536 / 64, 0),
      slotOf_(65536, 0)
{
    for (QChar c : letters_)
        inLetters_[c.unicode() >> 6] |= quint64(1) << (c.unicode() & 63);
    for (QChar c : letters_) {
        const char16_t lower = LetterSignature::lower(c.unicode());
        if (slotOf_[lower] == 0) {
            available_.push_back(0);
            slotOf_[lower] = quint16(available_.size());
        }
        ++available_[slotOf_[lower] - 1];
    }
    used_.assign(available_.size(), 0);
    touched_.reserve(available_.size());
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
    if (letters_.isEmpty()) // nothing occurs in empty letters, not even the empty first character
        return false;
    if (length == 0)
        return mode_ == Mode::Compose;
    if (!occursInLetters(LetterSignature::lower(word.front().unicode())))
        return false;

    bool found = true;
    bool identical = length == letterCount; // lower-cased word equal to the letters as typed
    touched_.clear();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t lower = LetterSignature::lower(word[i].unicode());
        identical = identical && lower == letters_[i].unicode();
        const quint16 slot = slotOf_[lower];
        if (slot == 0 || used_[slot - 1] == available_[slot - 1]) {
            found = false;
            break;
        }
        if (used_[slot - 1]++ == 0)
            touched_.push_back(slot - 1);
    }
    for (quint16 slot : touched_)
        used_[slot] = 0;
    if (!found)
        return false;
    return mode_ == Mode::Exact || !identical;
}
