#pragma once

#include <QString>

// Fixed Russian sentences for the failures of file operations. The system's own wording
// (strerror, QFile::errorString) is English and never reaches a Russian message box.
class FileError {
public:
    // What was being done when the failure came: it decides the sentence for an errno
    // that has no sentence of its own.
    enum class Action { Open, Read, Write };

    static QString describe(int errnoValue, Action action);
    static QString notRegularFile();
    // The file ended short of the size it had when opened.
    static QString changedWhileRead();
    // Also for the operations that run out of memory themselves (std::bad_alloc).
    static QString outOfMemory();
};
