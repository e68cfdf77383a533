#pragma once

#include <QtGlobal>

#include <new>

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

// Counts one more item and stores it: should the store run out of memory, the count is
// taken back, so that a count covers only what is stored in full.
template <typename Store>
void countAndStore(qint64& count, const Store& store)
{
    ++count;
    try {
        store();
    } catch (const std::bad_alloc&) {
        --count;
        throw;
    }
}
