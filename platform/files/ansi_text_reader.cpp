#include "ansi_text_reader.h"

#include "file_error.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Small enough that reading one chunk stays far below a frame.
constexpr qsizetype ChunkSize = 64 * 1024;

} // namespace

AnsiTextReader::AnsiTextReader() = default;

AnsiTextReader::~AnsiTextReader() { close(); }

bool AnsiTextReader::open(const QString& path)
{
    close();
    error_.clear();
    const QByteArray name = QFile::encodeName(path);
    // Refused before opening: opening a FIFO waits for a writer, and a device never ends.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        error_ = FileError::describe(errno, FileError::Action::Open);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error_ = FileError::describe(EISDIR, FileError::Action::Open);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = FileError::notRegularFile();
        return false;
    }
    // Without blocking, and checked again, in case something else took the name meanwhile.
    int fd;
    do
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error_ = FileError::describe(errno, FileError::Action::Open);
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error_ = FileError::notRegularFile();
        return false;
    }
    fd_ = fd;
    size_ = remaining_ = info.st_size;
    sizeKnown_ = info.st_size > 0;
    return true;
}

void AnsiTextReader::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_ = QByteArray();
    lastLine_ = QByteArrayView();
    position_ = scanned_ = 0;
    size_ = remaining_ = 0;
    sizeKnown_ = true;
    fileEnded_ = false;
    stopped_ = false;
}

bool AnsiTextReader::fill()
{
    lastLine_ = QByteArrayView(); // the bytes it viewed may move
    if (fileEnded_)
        return false;
    if ((sizeKnown_ && remaining_ <= 0) || fd_ < 0) {
        fileEnded_ = true;
        return false;
    }
    const qsizetype kept = buffer_.size();
    const qint64 wanted = sizeKnown_ ? std::min<qint64>(ChunkSize, remaining_) : ChunkSize;
    buffer_.resize(kept + wanted);
    ssize_t got;
    do
        got = ::read(fd_, buffer_.data() + kept, size_t(wanted));
    while (got < 0 && errno == EINTR);
    buffer_.truncate(kept + std::max<ssize_t>(got, 0));
    if (got < 0) {
        error_ = FileError::describe(errno, FileError::Action::Read);
        fileEnded_ = true;
        return false;
    }
    if (got == 0) {
        // Short of the size at open: the file was cut short (or rewritten) while being read.
        if (sizeKnown_)
            error_ = FileError::changedWhileRead();
        fileEnded_ = true;
        return false;
    }
    remaining_ -= got;
    // Only the bytes not yet returned move; inside a long line that happens once. They
    // move to the front, so that the buffer grows in place (remove() would leave room
    // there, and every growth after it would copy the whole line).
    if (position_ > 0) {
        const qsizetype rest = buffer_.size() - position_;
        std::memmove(buffer_.data(), buffer_.constData() + position_, size_t(rest));
        buffer_.truncate(rest);
        scanned_ -= position_;
        position_ = 0;
    }
    return true;
}

bool AnsiTextReader::atEnd()
{
    while (position_ >= buffer_.size()) {
        if (!fill())
            return true;
    }
    return false;
}

QByteArrayView AnsiTextReader::readLine()
{
    scanned_ = std::max(scanned_, position_);
    QElapsedTimer lineClock;
    for (int fills = 0;; ++fills) {
        const QByteArrayView text(buffer_);
        const qsizetype cr = text.indexOf('\r', scanned_);
        if (cr >= 0 && cr + 1 < text.size()) {
            const qsizetype start = position_;
            position_ = scanned_ = cr + 1 + (text.at(cr + 1) == '\n');
            return lastLine_ = text.sliced(start, cr - start);
        }
        // No complete terminator yet (or a CR whose LF may come with the next chunk):
        // what was searched is not searched again.
        scanned_ = cr >= 0 ? cr : text.size();
        if (fills == 0)
            lineClock.start();
        else if (fills == 1)
            makeRoomForLongLine();
        if (!fill()) {
            const qsizetype start = position_;
            const qsizetype end = cr >= 0 ? cr : buffer_.size();
            position_ = scanned_ = buffer_.size();
            return lastLine_ = QByteArrayView(buffer_).sliced(start, end - start);
        }
        // An ordinary line that only straddles two chunks is over long before it matters.
        if (fills > 0 && withinLongLine_ && !withinLongLine_(lineClock.nsecsElapsed()))
            return letGoOfLine();
    }
}

void AnsiTextReader::makeRoomForLongLine()
{
    // Room up to the file's end, taken at once: the pages are only used as they are read,
    // while growing by doubling would copy or remap the whole line in one go, for
    // hundreds of milliseconds once it holds a gigabyte. Without that much address space
    // the line grows as it goes.
    if (!sizeKnown_)
        return;
    try {
        buffer_.reserve(buffer_.size() + remaining_);
    } catch (const std::bad_alloc&) {
    }
}

QByteArrayView AnsiTextReader::letGoOfLine()
{
    stopped_ = fileEnded_ = true;
    buffer_ = QByteArray(); // a line let go of can hold gigabytes
    position_ = scanned_ = 0;
    return lastLine_ = QByteArrayView();
}

QByteArray AnsiTextReader::takeLastLine()
{
    const QByteArrayView line = std::exchange(lastLine_, QByteArrayView());
    // A line that fills most of the buffer from its start takes the buffer along: only
    // what follows it moves. Any other line is copied.
    if (line.constData() != buffer_.constData() || line.size() < buffer_.size() - line.size())
        return line.toByteArray();
    QByteArray rest = QByteArrayView(buffer_).sliced(position_).toByteArray();
    QByteArray taken = std::move(buffer_);
    taken.truncate(line.size());
    buffer_ = std::move(rest);
    position_ = scanned_ = 0;
    return taken;
}
