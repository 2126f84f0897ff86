// A simulated measuring board in a process of its own: prints the port to
// open, then answers on it until killed.

#include "firmwareboard.h"
#include "simulatedboard.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// Plugs the board in, prints its port and answers there until stopped.
template <typename Board>
int run(QCoreApplication &app, Board &board)
{
    if (!board.plugIn()) {
        std::fprintf(stderr, "aspirello-board: %s\n", qPrintable(board.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(board.portName()));
    std::fflush(stdout);
    return app.exec();
}

} // namespace

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
    const QCommandLineOption pacedOption(
        QStringLiteral("paced"),
        QStringLiteral("Send replies at the pace of a %1-baud line.").arg(board::kBaudRate));
    const QCommandLineOption firmwareOption(
        QStringLiteral("firmware"),
        QStringLiteral("Run the board's own firmware in a simulated ATmega328P, in step with the "
                       "clock, its sensors fed by the simulated engine (replies go at the line's "
                       "pace)."));
    parser.addOption(seedOption);
    parser.addOption(firmwareOption);
    parser.addOption(pacedOption);
    parser.process(app);

    bool seedOk = false;
    const qulonglong seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!seedOk) {
        std::fprintf(stderr, "aspirello-board: --seed wants a non-negative integer\n");
        return 2;
    }

    EngineConfig config;
    config.seed = seed;
    if (parser.isSet(firmwareOption)) {
        FirmwareBoard board(config);
        return run(app, board);
    }
    SimulatedBoard board(config);
    board.setPaced(parser.isSet(pacedOption));
    return run(app, board);
}
