#pragma once

#include <QStringView>

#include <array>
#include <vector>

// A code page in which every byte stands for one character on its own, both ways. Words
// travel from the file to the store and back as these bytes, and are decoded by table
// only where a character is needed.
class SingleByteCodePage {
public:
    explicit SingleByteCodePage(const std::array<char16_t, 256>& decoded);

    // The code page of the word files: the system's ANSI code page on Windows where it is a
    // single-byte one, Windows-1251 otherwise.
    static const SingleByteCodePage& ansi();

    char16_t decode(uchar byte) const { return decoded_[byte]; }
    void decode(const uchar* bytes, qsizetype count, char16_t* out) const
    {
        for (qsizetype k = 0; k < count; ++k)
            out[k] = decoded_[bytes[k]];
    }
    // Writes the bytes of `text` to `out`, which has room for text.size(); false when a
    // character has none (what was written then means nothing).
    bool encode(QStringView text, uchar* out) const
    {
        const quint16* byteOf = encoded_.data();
        for (qsizetype k = 0; k < text.size(); ++k) {
            const quint16 byte = byteOf[text[k].unicode()];
            if (byte > 0xFF)
                return false;
            out[k] = uchar(byte);
        }
        return true;
    }

private:
    static constexpr quint16 NoByte = 0x100;
    std::array<char16_t, 256> decoded_;
    std::vector<quint16> encoded_; // per UTF-16 code unit its byte, or NoByte
};
