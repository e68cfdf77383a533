#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A path in `dir` for each kind of name a word file must not be: "fifo", "socket", "folder",
// "under a file" (a path through a plain file); an absolute path (a device) as it is; any
// other name as a file that does not exist. Empty when that kind cannot be made here.
inline QString specialFilePath(const QTemporaryDir& dir, const QString& kind)
{
    if (kind.startsWith(QLatin1Char('/')))
        return QFileInfo::exists(kind) ? kind : QString();
    const QString path = dir.filePath(kind);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0600) == 0 ? path : QString();
    if (kind == QLatin1String("socket")) {
        // The socket file stays after its descriptor is closed, and nobody listens.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (fd < 0 || name.size() >= qsizetype(sizeof address.sun_path))
            return QString();
        qstrcpy(address.sun_path, name.constData());
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound ? path : QString();
    }
    if (kind == QLatin1String("folder"))
        return QDir(dir.path()).mkdir(kind) ? path : QString();
    if (kind == QLatin1String("under a file")) {
        QFile file(dir.filePath(QStringLiteral("plain.txt")));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        return dir.filePath(QStringLiteral("plain.txt/words.txt"));
    }
    return path;
}

// `bytes` bytes of "кот ток" in Windows-1251 after one another, each ended by a lone LF,
// which does not end a line: one long entry.
inline QByteArray longLfLine(qsizetype bytes)
{
    QByteArray line;
    line.reserve(bytes);
    while (line.size() < bytes)
        line += "\xEA\xEE\xF2 \xF2\xEE\xEA\n";
    line.truncate(bytes);
    return line;
}
