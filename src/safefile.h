#ifndef SAFEFILE_H
#define SAFEFILE_H

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QString>

#include <optional>

// The one way the programs read and write their files: only regular files
// (a link to one is followed, as editors do), never a folder, device, pipe
// or socket; a file written replaces the old one only once it is complete,
// and a failure carries the system's reason.

// Why a file could not be read or written.
enum class FileFault {
    None,
    Missing,     // nothing at that path
    NotRegular,  // a folder, device, pipe or socket
    TooLarge,    // larger than the reader's limit
    OpenFailed,  // the system refused to open or create it
    ReadFailed,  // it opened but could not be read
    WriteFailed, // it could not be written or completed; an earlier file is as it was
    Changed,     // its size changed while it was read
};

struct FileFailure
{
    FileFault fault = FileFault::None;
    QFileDevice::FileError error = QFileDevice::NoError;
    // The system's reason as it words it ("No space left on device"); empty
    // for the faults the system does not report (Missing, NotRegular,
    // TooLarge, Changed).
    QString reason;
};

// Opens path for reading when it is a regular file. Opening never blocks,
// not even on a pipe; file is left closed on failure.
bool openRegularFile(QFile &file, const QString &path, FileFailure *failure = nullptr);

// The whole of a regular file of at most maxBytes.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes,
                                          FileFailure *failure = nullptr);

// Writes bytes, byte for byte, into a temporary file beside path that
// replaces path only once it is complete. path is a regular file, a link to
// one (whose target is written) or a new name; anything else is refused
// untouched.
bool writeRegularFile(const QString &path, const QByteArray &bytes, FileFailure *failure = nullptr);

#endif // SAFEFILE_H
