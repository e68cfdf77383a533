#pragma once

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

// Word files are 8-bit text in the ANSI code page: the system's on Windows,
// Windows-1251 where the platform has none.
namespace AnsiCodePage {

QStringDecoder decoder();
QStringEncoder encoder();
// The character of each byte, where every byte stands for one character on its own both
// ways: decoded alone or among others, and encoded back to itself. Null otherwise (a
// multi-byte code page). Text in such a code page can be kept and written as its bytes.
const std::array<char16_t, 256>* singleByteCharacters();

} // namespace AnsiCodePage
