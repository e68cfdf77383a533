#pragma once

#include <QStringView>

#include <array>
#include <vector>

// Per-character data the word test needs again and again, looked up in tables built
// once: the lower-case form of a UTF-16 code unit and a bit standing for it. A word's
// signature is the OR of the bits of its lower-cased characters, so a word holding a
// character the letters lack is rejected with one AND. Cyrillic and Latin letters get
// a bit each; every other character shares one of a few spare bits, which only lets
// more words through to the full test.
class LetterSignature {
public:
    static char16_t lower(char16_t c) { return tables().lower[c]; }
    // The lower-case forms of all 65536 code units, for loops over many characters.
    static const char16_t* lowerTable() { return tables().lower.data(); }
    // The code units whose lower-case form is another one, in order.
    static const std::vector<char16_t>& changedByLowerCase() { return tables().changed; }
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
        std::vector<char16_t> changed;
    };
    static const Tables& tables()
    {
        static const Tables instance;
        return instance;
    }
};
