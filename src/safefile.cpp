#include "safefile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void note(FileFailure *failure, FileFault fault, QFileDevice::FileError error = QFileDevice::NoError,
          const QString &reason = QString())
{
    if (failure)
        *failure = {fault, error, reason};
}

// Writes and flushes every byte. The file engine reports a write that stops
// short (a full disk, a size limit) by its count alone, without the
// system's reason; writing the rest once more then fails at once and gives
// the reason.
bool writeWhole(QSaveFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    // A text smaller than the device's write buffer only reaches the disk
    // when commit() flushes it, and commit() does not treat a failure of
    // that flush as a write error: it would put a truncated file in place.
    // Flush here, where a failure can still cancel the save.
    if (file.flush())
        return true;
    file.flush(); // only for the reason: the save has failed already
    return false;
}

} // namespace

bool openRegularFile(QFile &file, const QString &path, FileFailure *failure)
{
    note(failure, FileFault::None);
#ifdef Q_OS_UNIX
    // Opened first and checked on the handle, so that nothing can be put in
    // the file's place between the check and the reading; O_NONBLOCK keeps
    // a pipe from holding the open until a writer comes.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            note(failure, FileFault::Missing, QFileDevice::OpenError);
        else
            note(failure, FileFault::OpenFailed, QFileDevice::OpenError,
                 QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        note(failure, FileFault::NotRegular, QFileDevice::OpenError);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        note(failure, FileFault::OpenFailed, file.error(), file.errorString());
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        note(failure, FileFault::Missing, QFileDevice::OpenError);
        return false;
    }
    if (!info.isFile()) {
        note(failure, FileFault::NotRegular, QFileDevice::OpenError);
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        note(failure, FileFault::OpenFailed, file.error(), file.errorString());
        return false;
    }
    return true;
#endif
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, FileFailure *failure)
{
    QFile file;
    if (!openRegularFile(file, path, failure))
        return std::nullopt;
    const qint64 size = file.size();
    if (size > maxBytes) {
        note(failure, FileFault::TooLarge);
        return std::nullopt;
    }
    // One byte more than the limit tells a file that grew past it.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        note(failure, FileFault::ReadFailed, file.error(), file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        note(failure, FileFault::TooLarge);
        return std::nullopt;
    }
    if (bytes.size() != size || file.size() != size) {
        note(failure, FileFault::Changed);
        return std::nullopt;
    }
    return bytes;
}

bool writeRegularFile(const QString &path, const QByteArray &bytes, FileFailure *failure)
{
    note(failure, FileFault::None);
    // A device or pipe would be replaced by a regular file (the new file is
    // renamed over it), a folder cannot be: refuse both before touching them.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        note(failure, FileFault::NotRegular, QFileDevice::OpenError);
        return false;
    }
    QSaveFile file(path);
    const auto noteFailure = [&file, failure](FileFault fault) {
        note(failure, fault, file.error(), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly)) {
        noteFailure(FileFault::OpenFailed);
        return false;
    }
    if (!writeWhole(file, bytes)) {
        noteFailure(FileFault::WriteFailed);
        file.cancelWriting();
        file.commit(); // discards the temporary file
        return false;
    }
    if (!file.commit()) {
        noteFailure(FileFault::WriteFailed);
        return false;
    }
    return true;
}
