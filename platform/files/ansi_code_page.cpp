#include "ansi_code_page.h"

namespace AnsiCodePage {

#ifdef Q_OS_WIN
QStringDecoder decoder() { return QStringDecoder(QStringDecoder::System); }
QStringEncoder encoder() { return QStringEncoder(QStringEncoder::System); }
#else
QStringDecoder decoder() { return QStringDecoder("windows-1251"); }
QStringEncoder encoder() { return QStringEncoder("windows-1251"); }
#endif

} // namespace AnsiCodePage
