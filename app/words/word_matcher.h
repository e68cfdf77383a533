#pragma once

#include "letter_signature.h"
#include "word_view.h"

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

// Decides whether a dictionary word is found for the typed letters.
//
// Exact mode: the word is a rearrangement of all the letters. Compose mode: the word
// is no longer than the letters, can be spelt with each letter used at most once, and
// its lower-cased form is not the letters themselves. In both, letters and word are
// compared lower-cased, except that the word's first character, lower-cased, must also
// occur in the letters as typed (capitals kept).
//
// This is the letter-by-letter consumption of the word against the remaining letters,
// done with letter counts: one pass over the word, no strings built.
class WordMatcher {
public:
    enum class Mode { Exact, Compose };

    // `letters` are the typed letters with their spaces already removed.
    WordMatcher(const QString& letters, Mode mode);

    // Inline for what a search does per word.
    bool matches(const WordView& word)
    {
        const uchar* bytes = word.bytes();
        const qsizetype length = word.size();
        const bool exact = mode_ == Mode::Exact;
        const qsizetype letterCount = letters_.size();
        if (exact ? length != letterCount : length > letterCount)
            return false;
        if (length == 0) // nothing occurs in empty letters, not even the empty first character
            return !exact && letterCount != 0;
        if (!firstOfByte_[bytes[0]])
            return false;
        if (!(packed_ ? packedUsesSuffice(bytes, length) : usesSuffice(bytes, length)))
            return false;
        return exact || length != letterCount || !spellsTypedLetters(bytes);
    }

    // A cheap first test on the record kept per dictionary word (see LetterSignature):
    // false only for words that matches() rejects too. A copy of its own lets a long loop
    // keep it in registers.
    class FirstTest {
    public:
        // Inline, so that a loop keeps it in registers.
        FirstTest(bool exact, qsizetype letterCount, quint64 letterSignature)
            : expected_(exact ? LetterSignature::record(letterCount, letterSignature) : 0),
              compared_(exact ? ~quint64(0) : LetterSignature::SignatureMask & ~letterSignature),
              longest_(LetterSignature::record(letterCount, LetterSignature::SignatureMask))
        {
        }
        bool mayMatch(quint64 record) const { return ((record ^ expected_) & compared_) == 0 && record <= longest_; }

    private:
        // Exact: the word uses every letter once, so its record is the letters' own.
        // Compose: the word has no character the letters lack and is no longer than they.
        quint64 expected_; // the letters' record, or 0
        quint64 compared_; // every bit, or the signature bits of characters the letters lack
        quint64 longest_;  // the greatest record of a word no longer than the letters
    };
    FirstTest firstTest() const { return {mode_ == Mode::Exact, letters_.size(), signature_}; }

private:
    quint16 slotOfLower(char16_t lower) const;
    // Whether the letters have a use left for every character of the word, in the packed
    // fields; nothing to give back, as a guard is looked at as soon as a byte can turn it on.
    bool packedUsesSuffice(const uchar* bytes, qsizetype length) const
    {
        quint64 uses = packedStart_;
        for (qsizetype k = 0; k < length; ++k) {
            uses += packedOfByte_[bytes[k]];
            if (uses & packedGuards_)
                return false;
        }
        return true;
    }
    // The same with a count per letter.
    bool usesSuffice(const uchar* bytes, qsizetype length);
    // Whether the word, as long as the letters and lower-cased, is the letters as typed.
    bool spellsTypedLetters(const uchar* bytes) const;

    QString letters_;
    Mode mode_;
    quint64 signature_;            // of the lower-cased letters
    std::vector<char16_t> lowers_; // the letters' distinct lower-case forms, slot k at k - 1
    std::vector<int> remaining_;   // per slot: how often it occurs in the lower-cased letters
    // Per byte, the 1-based slot of its lower-case form, 0 when that is absent: the word
    // test then needs one look-up per character.
    std::array<quint16, 256> slotOfByte_{};
    std::array<char16_t, 256> lowerOfByte_{};
    std::array<bool, 256> firstOfByte_{}; // whether a word may start with the byte
    // The remaining uses of all letters packed in one word, for bytes: per slot a field
    // whose top bit, its guard, turns on when the word uses the letter once too often.
    // A byte adds one to its slot's field; a byte of no letter turns on the last guard.
    // Without room for every field, the counts above serve.
    bool packed_ = false;
    quint64 packedStart_ = 0;
    quint64 packedGuards_ = 0;
    std::array<quint64, 256> packedOfByte_{};
};
