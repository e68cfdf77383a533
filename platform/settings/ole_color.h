#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are stored as 0x00BBGGRR; 0x800000nn names system colour nn,
// resolved through the application palette when drawn.
using OleColor = quint32;

namespace Ole {

inline constexpr OleColor SystemColorFlag = 0x80000000u;
inline constexpr OleColor ButtonFace = 0x8000000Fu;
inline constexpr OleColor ButtonText = 0x80000012u;

bool isSystemColor(OleColor value);
bool isValidColor(OleColor value);
QColor toQColor(OleColor value);

} // namespace Ole
