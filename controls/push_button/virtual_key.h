#pragma once

// Key codes as the key events pass them: the classic virtual-key numbers
// (Space 32, Enter 13, letters by their capital, F1 112, ...).
namespace VirtualKey {

inline constexpr short Space = 32;

// The code of a Qt key; 0 for keys that have no layout-independent number.
short fromQtKey(int key, bool keypad);

} // namespace VirtualKey
