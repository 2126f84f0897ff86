#ifndef ANALYSIS_FILETEXTS_H
#define ANALYSIS_FILETEXTS_H

#include "safefile.h"

#include <QString>

// Why a file could not be read or written, for the user, translated: the
// system's own reason when it gave one ("No space left on device").
QString fileFailureReason(const FileFailure &failure);

// "%1 cannot be written: <reason>" with the file's name.
QString writeFailureText(const QString &path, const FileFailure &failure);

#endif // ANALYSIS_FILETEXTS_H
