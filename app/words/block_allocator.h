#pragma once

#include <QByteArray>

#include <cstddef>

// Memory for the word store's blocks, mapped straight from the system: letting a block
// go returns its memory at once, where the C library's heap would keep it until trimmed.
// Blocks handed back go to the system a slice at a time from the event loop (at once
// where none runs), so giving back a gigabyte never stalls the window; until then a block
// of the same size asked for is one of them, so a store filled again right after its cut
// (a new import, a new search) does not hold the old blocks and the new ones at once.
class BlockAllocator {
public:
    struct Block {
        void* memory = nullptr;
        size_t bytes = 0;
    };

    // At least `bytes`, rounded up to whole pages, holding anything. Throws std::bad_alloc.
    static Block allocate(size_t bytes);
    // For a block small enough to unmap without a pause.
    static void freeNow(Block block);
    // Returned to the system later, from the event loop.
    static void release(Block block);
    // The same for a long line that came in a byte array of its own, where nothing else
    // holds the array: its pages first, the array once they are gone.
    static void release(QByteArray bytes);
    // Bytes handed back by release() and not yet returned to the system.
    static qint64 pendingBytes();

    // While one lives, blocks of up to a megabyte handed back (the store's own blocks, not a
    // long line's memory) wait to be asked for again instead of going to the system, also
    // while the event loop runs: memory just used is many times cheaper to fill than fresh
    // memory. A long operation holds one, so a store cut and filled again reuses its blocks.
    // Should the system run out of memory, what waits goes back to it first, part by part.
    class Reuse {
    public:
        Reuse();
        ~Reuse();
        Reuse(const Reuse&) = delete;
        Reuse& operator=(const Reuse&) = delete;
    };
};
