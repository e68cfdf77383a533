#include "single_byte_code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace {

// What each byte of the code page decodes to, where every byte stands for one character
// on its own both ways: decoded alone or among others, and encoded back to itself. None
// for a multi-byte code page.
template <typename CodePage>
std::optional<std::array<char16_t, 256>> singleByteCharacters(CodePage codePage)
{
    std::array<char16_t, 256> table{};
    QByteArray all(256, Qt::Uninitialized);
    for (int byte = 0; byte < 256; ++byte) {
        all[byte] = char(byte);
        QStringDecoder alone(codePage);
        const QString text = alone.decode(QByteArrayView(all.constData() + byte, 1));
        if (text.size() != 1)
            return std::nullopt;
        table[byte] = text.at(0).unicode();
    }
    QStringDecoder together(codePage);
    const QString text = together.decode(all);
    QStringEncoder back(codePage);
    if (text.size() != 256 || back.encode(text) != all)
        return std::nullopt;
    for (int byte = 0; byte < 256; ++byte) {
        if (text.at(byte).unicode() != table[byte])
            return std::nullopt;
    }
    return table;
}

} // namespace

SingleByteCodePage::SingleByteCodePage(const std::array<char16_t, 256>& decoded)
    : decoded_(decoded), encoded_(65536, NoByte)
{
    // Where two bytes decode alike, the first one stands for the character.
    for (int byte = 255; byte >= 0; --byte)
        encoded_[decoded[byte]] = quint16(byte);
}

const SingleByteCodePage& SingleByteCodePage::ansi()
{
    static const SingleByteCodePage codePage = [] {
#ifdef Q_OS_WIN
        if (const auto system = singleByteCharacters(QStringConverter::System))
            return SingleByteCodePage(*system);
#endif
        return SingleByteCodePage(singleByteCharacters("windows-1251").value());
    }();
    return codePage;
}
