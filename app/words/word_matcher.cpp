#include "word_matcher.h"

#include "letter_signature.h"

#include <algorithm>
#include <bit>

WordMatcher::WordMatcher(const QString& letters, Mode mode)
    : letters_(letters), mode_(mode), signature_(LetterSignature::of(letters))
{
    remaining_.push_back(0); // slot 0: characters that are not among the letters
    for (QChar c : letters_) {
        const char16_t lower = LetterSignature::lower(c.unicode());
        if (const quint16 slot = slotOfLower(lower)) {
            ++remaining_[slot];
        } else {
            lowers_.push_back(lower);
            remaining_.push_back(1);
        }
    }
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t lower = LetterSignature::lower(SingleByteCodePage::ansi().decode(uchar(byte)));
        slotOfByte_[byte] = slotOfLower(lower);
        lowerOfByte_[byte] = lower;
        firstOfByte_[byte] = letters_.contains(QChar(lower));
    }
    std::vector<quint64> packedOfSlot(remaining_.size(), 0);
    int used = 0; // bits taken by the fields so far
    for (size_t slot = 1; slot < remaining_.size() && used <= 64; ++slot) {
        const quint64 count = quint64(remaining_[slot]);
        const int width = std::bit_width(count) + 1;
        if (used + width <= 64) {
            // Below its guard the field holds count more: one more use reaches the guard
            // without a carry into the next field.
            packedStart_ |= ((quint64(1) << (width - 1)) - 1 - count) << used;
            packedGuards_ |= quint64(1) << (used + width - 1);
            packedOfSlot[slot] = quint64(1) << used;
        }
        used += width;
    }
    packed_ = used > 0 && used <= 64;
    if (packed_) {
        packedOfSlot[0] = quint64(1) << (used - 1);
        for (int byte = 0; byte < 256; ++byte)
            packedOfByte_[byte] = packedOfSlot[slotOfByte_[byte]];
    }
}

quint16 WordMatcher::slotOfLower(char16_t lower) const
{
    const auto at = std::find(lowers_.begin(), lowers_.end(), lower);
    return at == lowers_.end() ? quint16(0) : quint16(at - lowers_.begin() + 1);
}

bool WordMatcher::spellsTypedLetters(const uchar* bytes) const
{
    // Compose turns away only the lower-cased word that equals the letters as typed.
    const char16_t* typed = reinterpret_cast<const char16_t*>(letters_.constData());
    for (qsizetype k = 0; k < letters_.size(); ++k) {
        if (lowerOfByte_[bytes[k]] != typed[k])
            return false;
    }
    return true;
}

bool WordMatcher::usesSuffice(const uchar* bytes, qsizetype length)
{
    // Each character takes one of its letter's remaining uses; slot 0 (not among the
    // letters) has none. The uses taken are given back afterwards.
    int* remaining = remaining_.data();
    qsizetype matched = 0;
    for (; matched < length; ++matched) {
        if (--remaining[slotOfByte_[bytes[matched]]] < 0)
            break;
    }
    const qsizetype taken = matched < length ? matched + 1 : length;
    for (qsizetype k = 0; k < taken; ++k)
        ++remaining[slotOfByte_[bytes[k]]];
    return matched == length;
}
