#pragma once

#include "single_byte_code_page.h"
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

    // `letters` are the typed letters with their spaces already removed. Words kept as
    // bytes of `codePage` are tested as they are.
    WordMatcher(const QString& letters, Mode mode, const SingleByteCodePage* codePage = nullptr);

    bool matches(const WordView& word);

    // A cheap first test on the record kept per dictionary word (see LetterSignature):
    // false only for words that matches() rejects too. A copy of its own lets a long loop
    // keep it in registers.
    class FirstTest {
    public:
        FirstTest(bool exact, qsizetype letterCount, quint64 letterSignature);
        bool mayMatch(quint64 record) const
        {
            // Exact: the word uses every letter once, so its characters are the letters' own.
            if (exact_)
                return record == lettersRecord_;
            return (record & notInLetters_) == 0 && record <= longest_;
        }
        // The first of `count` records that may match; `count` when none does.
        qsizetype firstCandidate(const quint64* records, qsizetype count) const
        {
            qsizetype k = 0;
            if (exact_) {
                while (k < count && records[k] != lettersRecord_)
                    ++k;
            } else {
                while (k < count && ((records[k] & notInLetters_) != 0 || records[k] > longest_))
                    ++k;
            }
            return k;
        }

    private:
        bool exact_;
        quint64 lettersRecord_;
        quint64 notInLetters_; // signature bits of characters the letters lack
        quint64 longest_;      // the greatest record of a word no longer than the letters
    };
    FirstTest firstTest() const { return {mode_ == Mode::Exact, letters_.size(), signature_}; }

    // Lower-case maps each character to its own lower-case form; the length never changes.
    static QString lowerCase(QStringView text);

private:
    bool occursInLetters(char16_t c) const { return inLetters_[c >> 6] >> (c & 63) & 1; }
    // The test on UTF-16 code units or on bytes, through the unit's slot and lower-case form.
    template <typename Unit>
    bool matchUnits(const Unit* text, qsizetype length, const quint16* slotOf, const char16_t* lowerOf);
    // Whether the letters have a use left for every character of the text.
    template <typename Unit>
    bool usesSuffice(const Unit* text, qsizetype length, const quint16* slotOf);
    bool usesSuffice(const uchar* bytes, qsizetype length, const quint16* slotOf);

    QString letters_;
    Mode mode_;
    quint64 signature_; // of the lower-cased letters
    std::vector<quint64> inLetters_;    // the typed characters, capitals kept
    // Any code unit -> the 1-based slot of its lower-case form, 0 when that is absent:
    // the word test then needs one look-up per character.
    std::vector<quint16> slotOf_;
    std::vector<int> remaining_;        // per slot: how often it occurs in the lower-cased letters
    const SingleByteCodePage* codePage_;
    std::array<quint16, 256> slotOfByte_{};
    std::array<char16_t, 256> lowerOfByte_{};
    // The remaining uses of all letters packed in one word, for bytes: per slot a field
    // whose top bit, its guard, turns on when the word uses the letter once too often.
    // A byte adds one to its slot's field; a byte of no letter turns on the last guard.
    // Without room for every field, the counts above serve.
    bool packed_ = false;
    quint64 packedStart_ = 0;
    quint64 packedGuards_ = 0;
    std::array<quint64, 256> packedOfByte_{};
};
