#include "ansi_text_writer.h"

#include "file_error.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype FlushSize = 1 << 16;
}

AnsiTextWriter::~AnsiTextWriter() { close(); }

bool AnsiTextWriter::open(const QString& path)
{
    close();
    error_.clear();
    pending_.clear();
    pending_.reserve(FlushSize * 2);
    const QByteArray name = QFile::encodeName(path);
    // Without blocking: a FIFO nobody reads is refused instead of waiting for a reader.
    int fd;
    do
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error_ = FileError::describe(errno, FileError::Action::Open);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    fd_ = fd;
    return true;
}

bool AnsiTextWriter::writeLine(QByteArrayView line)
{
    if (!writable())
        return false;
    pending_.append(line);
    return endLine();
}

bool AnsiTextWriter::endLine()
{
    pending_.append("\r\n", 2);
    return pending_.size() < FlushSize || flush();
}

bool AnsiTextWriter::flush()
{
    const char* data = pending_.constData();
    qsizetype left = pending_.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = FileError::describe(written < 0 ? errno : ENOSPC, FileError::Action::Write);
            pending_.truncate(0);
            return false;
        }
        data += written;
        left -= written;
    }
    pending_.truncate(0); // keeps the buffer for the next lines
    return true;
}

bool AnsiTextWriter::close()
{
    if (fd_ < 0)
        return error_.isEmpty();
    if (error_.isEmpty())
        flush();
    if (::close(fd_) != 0 && error_.isEmpty() && errno != EINTR)
        error_ = FileError::describe(errno, FileError::Action::Write);
    fd_ = -1;
    return error_.isEmpty();
}
