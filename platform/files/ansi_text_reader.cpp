#include "ansi_text_reader.h"

#include "ansi_code_page.h"
#include "file_error.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Small enough that reading and decoding one chunk stays far below a frame.
constexpr qsizetype ChunkSize = 64 * 1024;

// Most lines are a word, far too short for a library call's set-up to pay off.
qsizetype indexOfCr(QStringView text, qsizetype from)
{
    const char16_t* begin = text.utf16();
    const char16_t* cr = std::find(begin + from, begin + text.size(), u'\r');
    return cr == begin + text.size() ? -1 : cr - begin;
}

} // namespace

AnsiTextReader::AnsiTextReader() : table_(AnsiCodePage::singleByteCharacters()), decoder_(AnsiCodePage::decoder()) {}

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
    decoder_.resetState();
    bytes_ = QByteArray();
    buffer_ = QString();
    lastLine_ = QStringView();
    position_ = scanned_ = 0;
    size_ = remaining_ = 0;
    sizeKnown_ = true;
    fileEnded_ = false;
    stopped_ = false;
}

bool AnsiTextReader::fill()
{
    lastLine_ = QStringView(); // the text it viewed may move
    if (fileEnded_)
        return false;
    if ((sizeKnown_ && remaining_ <= 0) || fd_ < 0) {
        fileEnded_ = true;
        return false;
    }
    if (bytes_.size() != ChunkSize)
        bytes_.resize(ChunkSize);
    const qint64 wanted = sizeKnown_ ? std::min<qint64>(ChunkSize, remaining_) : ChunkSize;
    ssize_t got;
    do
        got = ::read(fd_, bytes_.data(), size_t(wanted));
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        error_ = FileError::describe(errno, FileError::Action::Read);
        fileEnded_ = true;
        return false;
    }
    if (got == 0) {
        // Short of the size at open: the file was cut short (or rewritten) while being read.
        if (sizeKnown_)
            error_ = FileError::describe(EIO, FileError::Action::Read);
        fileEnded_ = true;
        return false;
    }
    remaining_ -= got;
    // Only the text not yet returned moves; inside a long line that happens once.
    if (position_ > 0) {
        buffer_.remove(0, position_);
        scanned_ -= position_;
        position_ = 0;
    }
    decode(bytes_.constData(), got);
    return true;
}

void AnsiTextReader::decode(const char* bytes, qsizetype count)
{
    const qsizetype kept = buffer_.size();
    if (table_) {
        buffer_.resize(kept + count);
        char16_t* out = reinterpret_cast<char16_t*>(buffer_.data()) + kept;
        const auto* in = reinterpret_cast<const uchar*>(bytes);
        const std::array<char16_t, 256>& table = *table_;
        for (qsizetype i = 0; i < count; ++i)
            out[i] = table[in[i]];
        return;
    }
    buffer_.resize(kept + decoder_.requiredSpace(count));
    QChar* end = decoder_.appendToBuffer(buffer_.data() + kept, QByteArrayView(bytes, count));
    buffer_.truncate(end - buffer_.constData());
}

bool AnsiTextReader::atEnd()
{
    while (position_ >= buffer_.size()) {
        if (!fill())
            return true;
    }
    return false;
}

QStringView AnsiTextReader::readLine()
{
    scanned_ = std::max(scanned_, position_);
    QElapsedTimer lineClock;
    for (int fills = 0;; ++fills) {
        const QStringView text(buffer_);
        const qsizetype cr = indexOfCr(text, scanned_);
        if (cr >= 0 && cr + 1 < text.size()) {
            const qsizetype start = position_;
            position_ = scanned_ = cr + 1 + (text.at(cr + 1) == u'\n');
            return lastLine_ = text.mid(start, cr - start);
        }
        // No complete terminator yet (or a CR whose LF may come with the next chunk):
        // what was searched is not searched again.
        scanned_ = cr >= 0 ? cr : text.size();
        if (fills == 0)
            lineClock.start();
        if (!fill()) {
            const qsizetype start = position_;
            const qsizetype end = cr >= 0 ? cr : buffer_.size();
            position_ = scanned_ = buffer_.size();
            return lastLine_ = QStringView(buffer_).mid(start, end - start);
        }
        // An ordinary line that only straddles two chunks is over long before it matters.
        if (fills > 0 && withinLongLine_ && !withinLongLine_(lineClock.nsecsElapsed()))
            return letGoOfLine();
    }
}

QStringView AnsiTextReader::letGoOfLine()
{
    stopped_ = fileEnded_ = true;
    buffer_ = QString(); // a line let go of can hold gigabytes
    position_ = scanned_ = 0;
    return lastLine_ = QStringView();
}

QString AnsiTextReader::takeLastLine()
{
    const QStringView line = std::exchange(lastLine_, QStringView());
    // A line that fills most of the buffer from its start takes the buffer along: only
    // what follows it moves. Any other line is copied.
    if (line.constData() != buffer_.constData() || line.size() < buffer_.size() - line.size())
        return line.toString();
    QString rest = QStringView(buffer_).mid(position_).toString();
    QString taken = std::move(buffer_);
    taken.truncate(line.size());
    buffer_ = std::move(rest);
    position_ = scanned_ = 0;
    return taken;
}
