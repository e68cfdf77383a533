#pragma once

#include <QString>
#include <QStringView>

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

    bool matches(QStringView word);

    // A cheap first test on data kept per dictionary word: its length and the signature
    // of its lower-cased characters. False only for words that matches() rejects too.
    // A copy of its own lets a long loop keep it in registers.
    struct FirstTest {
        bool exact;
        qsizetype letterCount;
        quint64 signature; // of the lower-cased letters
        bool mayMatch(qsizetype length, quint64 wordSignature) const
        {
            // Exact: the word uses every letter once, so its characters are the letters' own.
            if (exact)
                return length == letterCount && wordSignature == signature;
            return length <= letterCount && (wordSignature & ~signature) == 0;
        }
    };
    FirstTest firstTest() const { return {mode_ == Mode::Exact, letters_.size(), signature_}; }

    // Lower-case maps each character to its own lower-case form; the length never changes.
    static QString lowerCase(QStringView text);

private:
    bool occursInLetters(char16_t c) const { return inLetters_[c >> 6] >> (c & 63) & 1; }

    QString letters_;
    Mode mode_;
    quint64 signature_; // of the lower-cased letters
    std::vector<quint64> inLetters_;    // the typed characters, capitals kept
    // Any code unit -> the 1-based slot of its lower-case form, 0 when that is absent:
    // the word test then needs one look-up per character.
    std::vector<quint16> slotOf_;
    std::vector<int> remaining_;        // per slot: how often it occurs in the lower-cased letters
};
