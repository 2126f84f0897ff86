#ifndef DEMOOPTIONS_H
#define DEMOOPTIONS_H

#include "deviceprotocol.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the demo was asked to do on its command line.
struct DemoOptions
{
    bool autoStart = false;        // open the board's port and poll it continuously
    int periodMs = kDefaultPollMs; // the poll period put into the window
    QString screenshot;            // picture to save, then exit; empty for none
    QByteArray screenshotFormat;   // the picture's format, named by its extension
    int frames = 100;              // accepted frames before the picture
    quint64 seed = 1;              // seed of the simulated engine
    bool verbose = false;          // let the gauge's debug lines through
    bool firmware = false;         // the board's real firmware in a simulated chip
};

struct DemoCommandLine
{
    enum Outcome { Run, ShowHelp, Error };
    Outcome outcome = Run;
    DemoOptions options;
    QString text; // the help for ShowHelp, the message for Error
};

// Reads the demo's arguments (the program's name first). An error names
// the option and the value that was wrong and points to --help.
DemoCommandLine parseDemoCommandLine(const QStringList &arguments);

#endif // DEMOOPTIONS_H
