#ifndef PROGRAMRUN_H
#define PROGRAMRUN_H

#include "commandline.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// Whether the arguments (without the program's name) ask for the window: they
// are sound and name none of --report, --summary, --csv, --calibrate, --help.
// Decided before the application object exists, since a run without a window
// must not need a display (a command line in error needs none either).
bool argumentsWantWindow(const QStringList &arguments);
// Whether they ask for --report, which draws with widgets on the offscreen
// platform.
bool argumentsWantReport(const QStringList &arguments);

// Writes the report of --report: reads and analyses the logs and draws the
// page. Messages go to err; returns the exit code. Needs a QApplication (on
// the offscreen platform when there is no display).
int runReportCommand(const CommandLine &commandLine, const QString &calibrationPath, QTextStream &out,
                     QTextStream &err);

// The whole program: main() calls this.
int runAnalysisProgram(int argc, char **argv);

#endif // PROGRAMRUN_H
