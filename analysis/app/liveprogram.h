#ifndef LIVEPROGRAM_H
#define LIVEPROGRAM_H

#include "commandline.h"

#include <QTextStream>

// --live PORT --for SECONDS with --summary, --csv or --report: records
// from the board, then writes what was asked. Messages go to err; returns
// the exit code. --report needs a QApplication (offscreen will do).
int runLiveCommand(const CommandLine &commandLine, const QString &calibrationPath, QTextStream &out,
                   QTextStream &err);

#endif // LIVEPROGRAM_H
