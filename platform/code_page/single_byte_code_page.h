#pragma once

#include <QStringView>

#include <array>
#include <vector>

// A code page in which every byte stands for one character on its own, both ways. The
// store keeps a word as these bytes, in half the room of UTF-16, and decodes it by table.
class SingleByteCodePage {
public:
    explicit SingleByteCodePage(const std::array<char16_t, 256>& decoded);

    const std::array<char16_t, 256>& decoded() const { return decoded_; }
    char16_t decode(uchar byte) const { return decoded_[byte]; }
    // Writes the bytes of `text` to `out`, which has room for text.size(), and shows each
    // byte written to `written`; false when a character has none (what was written then
    // means nothing).
    template <typename Written>
    bool encode(QStringView text, uchar* out, Written&& written) const
    {
        const quint16* byteOf = encoded_.data();
        for (qsizetype k = 0; k < text.size(); ++k) {
            const quint16 byte = byteOf[text[k].unicode()];
            if (byte > 0xFF)
                return false;
            out[k] = uchar(byte);
            written(uchar(byte));
        }
        return true;
    }
    bool encode(QStringView text, uchar* out) const { return encode(text, out, [](uchar) {}); }

private:
    static constexpr quint16 NoByte = 0x100;
    std::array<char16_t, 256> decoded_;
    std::vector<quint16> encoded_; // per UTF-16 code unit its byte, or NoByte
};
