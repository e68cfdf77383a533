#pragma once

#include <QStringDecoder>
#include <QStringEncoder>

// Word files are 8-bit text in the ANSI code page: the system's on Windows,
// Windows-1251 where the platform has none.
namespace AnsiCodePage {

QStringDecoder decoder();
QStringEncoder encoder();

} // namespace AnsiCodePage
