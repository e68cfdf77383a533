#pragma once

#include <QtGlobal>

class ProgressProtocol;

// What an operation sees of the window beyond its own controls: the window's shared
// counters and cancel flag (they stay the window's fields; the context refers to them),
// the progress protocol that drives the bar, and whether the program is ending.
struct OperationContext {
    qint64& WordCount;
    qint64& FoundCount;
    bool& CancelFlag;
    const bool& ending;
    ProgressProtocol& progress;

    // What a running loop tests before each item.
    bool shouldStop() const { return CancelFlag || ending; }
};
