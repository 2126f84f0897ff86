#include "filetexts.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The texts of this file, under one translation context.
struct FileTexts
{
    Q_DECLARE_TR_FUNCTIONS(FileTexts)
};

} // namespace

QString fileFailureReason(const FileFailure &failure)
{
    switch (failure.fault) {
    case FileFault::Missing:
        return FileTexts::tr("it does not exist");
    case FileFault::NotRegular:
        return FileTexts::tr("it is not a regular file (a folder, device or pipe)");
    case FileFault::TooLarge:
        return FileTexts::tr("it is too large");
    case FileFault::Changed:
        return FileTexts::tr("it changed while it was read");
    case FileFault::None:
    case FileFault::OpenFailed:
    case FileFault::ReadFailed:
    case FileFault::WriteFailed:
        break;
    }
    const QString reason = failure.reason.trimmed();
    const bool none = reason.isEmpty()
        || reason.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0;
    return none ? FileTexts::tr("the system gave no reason") : reason;
}

QString writeFailureText(const QString &path, const FileFailure &failure)
{
    return FileTexts::tr("%1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(path), fileFailureReason(failure));
}
