// A simulated measuring board in a process of its own: prints the port to
// open, then answers on it until killed.

#include "simulatedboard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("aspirello-board"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Aspirello measuring board on a pseudo-terminal. "
                       "Prints the port path on the first line of its output."));
    parser.addHelpOption();
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the engine's noise and idle wander."),
                                        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption pacedOption(QStringLiteral("paced"),
                                         QStringLiteral("Send replies at the pace of a 38400-baud line."));
    const QCommandLineOption reportOption(
        QStringLiteral("report"),
        QStringLiteral("Stop when standard input closes and print the polls received and "
                       "frames sent."));
    parser.addOption(seedOption);
    parser.addOption(pacedOption);
    parser.addOption(reportOption);
    parser.process(app);

    bool seedOk = false;
    const qulonglong seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!seedOk) {
        std::fprintf(stderr, "aspirello-board: --seed wants a non-negative integer\n");
        return 2;
    }

    EngineConfig config;
    config.seed = seed;
    SimulatedBoard board(config);
    board.setPaced(parser.isSet(pacedOption));
    if (!board.plugIn()) {
        std::fprintf(stderr, "aspirello-board: %s\n", qPrintable(board.errorString()));
        return 1;
    }

    std::printf("%s\n", qPrintable(board.portName()));
    std::fflush(stdout);

    // The one who started the board ends it by closing our input.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(parser.isSet(reportOption));
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char discard[256];
        if (::read(STDIN_FILENO, discard, sizeof discard) > 0)
            return;
        input.setEnabled(false);
        std::printf("polls %llu frames %llu\n",
                    static_cast<unsigned long long>(board.pollsReceived()),
                    static_cast<unsigned long long>(board.framesSent()));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
