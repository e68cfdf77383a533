#pragma once

#include "single_byte_code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Word files are 8-bit text in the ANSI code page: the system's on Windows,
// Windows-1251 where the platform has none.
namespace AnsiCodePage {

QStringDecoder decoder();
QStringEncoder encoder();
// The code page where every byte stands for one character on its own both ways: decoded
// alone or among others, and encoded back to itself. Null otherwise (a multi-byte code
// page). Text in such a code page is read, kept and written as its bytes.
const SingleByteCodePage* singleByte();

} // namespace AnsiCodePage
