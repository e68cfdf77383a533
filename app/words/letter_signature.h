#pragma once

#include <QStringView>

#include <algorithm>
#include <array>

// Per-character data the word test needs again and again, looked up in tables built
// once: the lower-case form of a UTF-16 code unit and a bit standing for it, also for each
// byte of the word files' code page. A word's signature is the OR of the bits of its
// lower-cased characters, so a word holding a character the letters lack is rejected
// with one AND. Cyrillic letters get a bit each, Latin letters one per pair, every other
// character one of a few spare bits: sharing only lets more words through to the full
// test. The signature leaves the top byte of 64 bits free, so that a word's record holds
// its length there.
class LetterSignature {
public:
    static constexpr int LengthShift = 56;
    static constexpr quint64 SignatureMask = (quint64(1) << LengthShift) - 1;
    // Longer words share the record length of this one.
    static constexpr qsizetype LongestRecordedLength = 255;
    // What the search's first test reads per word: one load decides for almost every word.
    static quint64 record(qsizetype length, quint64 signature)
    {
        return quint64(std::min(length, LongestRecordedLength)) << LengthShift | signature;
    }

    static char16_t lower(char16_t c) { return tables().lower[c]; }
    // The bit of each byte of the word files' code page.
    static const std::array<quint64, 256>& byteBits() { return tables().byteBit; }
    static quint64 of(const uchar* bytes, qsizetype length)
    {
        const quint64* bits = tables().byteBit.data();
        quint64 signature = 0;
        for (qsizetype k = 0; k < length; ++k)
            signature |= bits[bytes[k]];
        return signature;
    }
    static quint64 of(QStringView text)
    {
        const Tables& t = tables();
        quint64 signature = 0;
        for (QChar c : text)
            signature |= quint64(1) << t.bit[c.unicode()];
        return signature;
    }

private:
    struct Tables {
        Tables();
        std::array<char16_t, 65536> lower;
        std::array<quint8, 65536> bit; // the bit of the character's lower-case form
        std::array<quint64, 256> byteBit;
    };
    static const Tables& tables()
    {
        static const Tables instance;
        return instance;
    }
};
