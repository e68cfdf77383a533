#pragma once

#include <QByteArray>
#include <QString>

// Writes 8-bit text lines, each ended by CR LF. Every failure is kept for the caller:
// a failed write is never reported as done.
class AnsiTextWriter {
public:
    AnsiTextWriter() = default;
    ~AnsiTextWriter();
    AnsiTextWriter(const AnsiTextWriter&) = delete;
    AnsiTextWriter& operator=(const AnsiTextWriter&) = delete;

    // Creates the file, or truncates it to zero length when it exists.
    bool open(const QString& path);
    // The line's bytes, as they are.
    bool writeLine(QByteArrayView line);
    // Flushes and closes; false when anything since open() failed.
    bool close();

    QString errorString() const { return error_; }

private:
    // Open, and nothing failed since.
    bool writable() const { return error_.isEmpty() && fd_ >= 0; }
    // Ends the line appended to the pending bytes.
    bool endLine();
    bool flush();

    int fd_ = -1;
    QByteArray pending_;
    QString error_;
};
