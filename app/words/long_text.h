#pragma once

#include <QtGlobal>

// A text longer than this is long. The store gives a long text memory of its own rather
// than a place in its shared text blocks (at a quarter of a block, the tail a block can
// leave unused stays small), and keeps a long string it is given as it is instead of
// copying it; so the import takes a long line from the reader as a string of its own,
// since copying hundreds of megabytes into fresh memory takes seconds.
inline constexpr qsizetype LongTextChars = 128 * 1024;
