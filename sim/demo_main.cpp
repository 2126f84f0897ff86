// The gauge on a simulated measuring board: the same window as the program,
// with the board started in this process and its port offered in the list.
#include "demosession.h"
#include "legibleform.h"
#include "longrun.h"
#include "mainwindow.h"
#include "simulatedboard.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    prepareForLongRuns();
    QApplication application(argc, argv);
    useLegibleForm();
    QCoreApplication::setApplicationName(QStringLiteral("Aspirello-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Aspirello on a simulated measuring board."));
    parser.addHelpOption();
    const QCommandLineOption autoOption(
        QStringLiteral("auto"), QStringLiteral("Open the board's port and poll it continuously."));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG of the window after --frames accepted frames, then exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption framesOption(
        QStringLiteral("frames"), QStringLiteral("Accepted frames before the screenshot."),
        QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"), QStringLiteral("Seed of the simulated engine."),
        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({autoOption, screenshotOption, framesOption, seedOption});
    parser.process(application);

    bool framesOk = false;
    const int frames = parser.value(framesOption).toInt(&framesOk);
    bool seedOk = false;
    const qulonglong seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!framesOk || frames < 1 || !seedOk) {
        std::fprintf(stderr, "Aspirello-demo: --frames wants a positive and --seed a "
                             "non-negative whole number\n");
        return 2;
    }

    EngineConfig engine;
    engine.seed = seed;
    SimulatedBoard board(engine);
    if (!board.plugIn()) {
        std::fprintf(stderr, "Aspirello-demo: no simulated board: %s\n",
                     qPrintable(board.errorString()));
        return 1;
    }

    MainWindow window;
    offerBoardPort(window, board.portName());
    window.show();

    if (parser.isSet(autoOption) && !openAndPollContinuously(window)) {
        std::fprintf(stderr, "Aspirello-demo: could not open %s\n", qPrintable(board.portName()));
        return 1;
    }

    const QString screenshot = parser.value(screenshotOption);
    QTimer screenshotWatch;
    if (!screenshot.isEmpty()) {
        if (!parser.isSet(autoOption))
            std::fprintf(stderr, "Aspirello-demo: waiting for frames; press \"Aprila\" and "
                                 "\"Ricevi\" (or start with --auto)\n");
        QObject::connect(&screenshotWatch, &QTimer::timeout, [&] {
            if (acceptedFrames(window) < frames)
                return;
            screenshotWatch.stop();
            // What the screen shows, as last painted: rendering the widgets
            // afresh would leave out displays whose painting is held back.
            const QPixmap shown = window.screen()->grabWindow(window.winId());
            const bool saved = shown.save(screenshot, "PNG");
            if (!saved)
                std::fprintf(stderr, "Aspirello-demo: could not write %s\n", qPrintable(screenshot));
            QCoreApplication::exit(saved ? 0 : 1);
        });
        screenshotWatch.start(20);
    }
    return application.exec();
}
