// The gauge on a simulated measuring board: the same window as the program,
// with the board started in this process and its port offered in the list.
#include "demooptions.h"
#include "demosession.h"
#include "displaycheck.h"
#include "firmwareboard.h"
#include "legibleform.h"
#include "mainwindow.h"
#include "mmapthreshold.h"
#include "safefile.h"
#include "screenfit.h"
#include "simulatedboard.h"

#include <QApplication>
#include <QBuffer>
#include <QLoggingCategory>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

// The arguments meant for the demo: those the toolkit takes for itself
// (-platform offscreen, -style fusion, ...) left out.
QStringList demoArguments(int argc, char *argv[])
{
    static const char *const toolkitOptionsWithValue[] = {"-platform",        "-platformpluginpath",
                                                          "-platformtheme",   "-plugin",
                                                          "-qwindowgeometry", "-qwindowtitle",
                                                          "-qwindowicon",     "-style",
                                                          "-stylesheet",      "-display",
                                                          "-geometry",        "-session"};
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        bool toolkit = false;
        for (const char *option : toolkitOptionsWithValue)
            toolkit = toolkit || argument == QLatin1String(option);
        if (toolkit)
            ++i;
        else
            arguments << argument;
    }
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does, before any window: the demo's log grows for as
    // long as it runs, in place by mremap rather than copied inside the heap.
    fixMmapThreshold();
    // Read before the window system is reached, so that --help and the
    // errors work where no display is.
    DemoCommandLine commandLine;
    {
        QCoreApplication reader(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Aspirello-demo"));
        commandLine = parseDemoCommandLine(demoArguments(argc, argv));
    }
    if (commandLine.outcome == DemoCommandLine::ShowHelp) {
        std::fputs(qPrintable(commandLine.text), stdout);
        return 0;
    }
    if (commandLine.outcome == DemoCommandLine::Error) {
        std::fprintf(stderr, "%s\n", qPrintable(commandLine.text));
        return 2;
    }
    const DemoOptions &options = commandLine.options;
    if (!displayAvailable(argc, argv)) {
        if (options.screenshot.isEmpty()) {
            std::fputs(qPrintable(noDisplayMessage(
                           QStringLiteral("Aspirello-demo"),
                           QStringLiteral("A picture of the gauge can be saved without one:\n"
                                          "  QT_QPA_PLATFORM=offscreen Aspirello-demo --auto "
                                          "--screenshot gauge.png"))),
                       stderr);
            return kNoDisplayExitCode;
        }
        // A picture needs no display: the window is drawn off screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Aspirello-demo"));
    // The gauge writes a debug line per reading; the demo keeps the terminal
    // quiet unless asked (QT_LOGGING_RULES still has the last word).
    if (!options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    useLegibleForm();
    EngineConfig engine;
    engine.seed = options.seed;
    SimulatedBoard board(engine);
    FirmwareBoard firmwareBoard(engine);
    const bool pluggedIn = options.firmware ? firmwareBoard.plugIn() : board.plugIn();
    const QString boardPort = options.firmware ? firmwareBoard.portName() : board.portName();
    if (!pluggedIn) {
        std::fprintf(stderr, "Aspirello-demo: no simulated board: %s\n",
                     qPrintable(options.firmware ? firmwareBoard.errorString()
                                                 : board.errorString()));
        return 1;
    }

    MainWindow window;
    offerBoardPort(window, boardPort);
    choosePollPeriod(window, options.periodMs);
    // A picture shows the whole window, whatever the screen.
    if (options.screenshot.isEmpty())
        fitWindowToScreen(window);
    window.show();

    if (options.autoStart && !openAndPollContinuously(window)) {
        std::fprintf(stderr, "Aspirello-demo: could not open %s\n", qPrintable(boardPort));
        return 1;
    }

    QTimer screenshotWatch;
    if (!options.screenshot.isEmpty()) {
        if (!options.autoStart)
            std::fprintf(stderr,
                         "Aspirello-demo: waiting for frames; press \"Aprila\" and "
                         "\"Ricevi\" (or start with --auto)\n");
        QObject::connect(&screenshotWatch, &QTimer::timeout, [&] {
            if (acceptedFrames(window) < options.frames)
                return;
            screenshotWatch.stop();
            // What the screen shows, as last painted: rendering the widgets
            // afresh would leave out displays whose painting is held back.
            const QPixmap shown = window.screen()->grabWindow(window.winId());
            // Encoded first, then written as every file of the programs is.
            QByteArray picture;
            QBuffer buffer(&picture);
            buffer.open(QIODevice::WriteOnly);
            FileFailure failure;
            QString reason = QStringLiteral("the picture could not be encoded");
            if (shown.save(&buffer, options.screenshotFormat.constData())) {
                if (writeRegularFile(options.screenshot, picture, &failure)) {
                    QCoreApplication::exit(0);
                    return;
                }
                reason = failure.fault == FileFault::NotRegular ? QStringLiteral("not a regular file")
                                                                : failure.reason;
            }
            std::fprintf(stderr, "Aspirello-demo: could not write %s: %s\n",
                         qPrintable(options.screenshot), qPrintable(reason));
            QCoreApplication::exit(1);
        });
        screenshotWatch.start(20);
    }
    return application.exec();
}
