#include "file_error.h"

#include <cerrno>

QString FileError::describe(int errnoValue, Action action)
{
    switch (errnoValue) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Недостаточно места на диске.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет доступа к файлу.");
    case EROFS:
        return QStringLiteral("Диск доступен только для чтения.");
    case ENOENT:
        return action == Action::Open ? QStringLiteral("Файл или папка не найдены.")
                                      : QStringLiteral("Файл больше не существует.");
    case ENOTDIR:
        return QStringLiteral("Путь к файлу указан неверно: одна из его частей не является папкой.");
    case EISDIR:
        return QStringLiteral("Это папка, а не файл.");
    case ENXIO:
    case ENODEV:
        return notRegularFile();
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Открыто слишком много файлов.");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Файл занят другой программой.");
    case EFBIG:
        return QStringLiteral("Файл слишком велик.");
    case ENOMEM:
        return outOfMemory();
    default:
        break;
    }
    QString sentence;
    switch (action) {
    case Action::Open:
        sentence = QStringLiteral("Не удалось открыть файл.");
        break;
    case Action::Read:
        sentence = QStringLiteral("Ошибка чтения файла.");
        break;
    case Action::Write:
        sentence = QStringLiteral("Ошибка записи в файл.");
        break;
    }
    if (errnoValue != 0 && errnoValue != EIO)
        sentence += QStringLiteral(" Код ошибки: %1.").arg(errnoValue);
    return sentence;
}

QString FileError::notRegularFile() { return QStringLiteral("Это не обычный файл (устройство, канал или сокет)."); }

QString FileError::changedWhileRead() { return QStringLiteral("Файл был изменён во время чтения."); }

QString FileError::outOfMemory() { return QStringLiteral("Недостаточно памяти."); }
