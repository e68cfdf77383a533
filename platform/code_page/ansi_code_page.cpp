#include "ansi_code_page.h"

#include <optional>

namespace AnsiCodePage {

#ifdef Q_OS_WIN
QStringDecoder decoder() { return QStringDecoder(QStringDecoder::System); }
QStringEncoder encoder() { return QStringEncoder(QStringEncoder::System); }
#else
QStringDecoder decoder() { return QStringDecoder("windows-1251"); }
QStringEncoder encoder() { return QStringEncoder("windows-1251"); }
#endif

namespace {

std::optional<std::array<char16_t, 256>> buildSingleByteCharacters()
{
    std::array<char16_t, 256> table{};
    QByteArray all(256, Qt::Uninitialized);
    for (int byte = 0; byte < 256; ++byte) {
        all[byte] = char(byte);
        QStringDecoder alone = decoder();
        const QString text = alone.decode(QByteArrayView(all.constData() + byte, 1));
        if (text.size() != 1)
            return std::nullopt;
        table[byte] = text.at(0).unicode();
    }
    QStringDecoder together = decoder();
    const QString text = together.decode(all);
    QStringEncoder back = encoder();
    if (text.size() != 256 || back.encode(text) != all)
        return std::nullopt;
    for (int byte = 0; byte < 256; ++byte) {
        if (text.at(byte).unicode() != table[byte])
            return std::nullopt;
    }
    return table;
}

} // namespace

const SingleByteCodePage* singleByte()
{
    static const std::optional<SingleByteCodePage> codePage = [] {
        const std::optional<std::array<char16_t, 256>> table = buildSingleByteCharacters();
        return table ? std::optional<SingleByteCodePage>(*table) : std::nullopt;
    }();
    return codePage ? &*codePage : nullptr;
}

} // namespace AnsiCodePage
