// A simulated measuring board in a process of its own: prints the port to
// open, then answers on it until killed.

#include "firmwareboard.h"
#include "simulatedboard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>

#include <cstdio>
#include <unistd.h>

namespace {

// Readings for measuring the window's painting. Changing: each cylinder
// ramps down 2 kPa per frame over 20 frames and jumps back, so that every
// bar, raw and averaged over the last 10 frames, moves at every frame.
// Steady: the same four values at every frame.
CylinderValues patternReadings(quint64 frame, bool changing)
{
    CylinderValues values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const float step = changing ? static_cast<float>(frame % 20) : 0.0f;
        values[i] = -5.5f - static_cast<float>(i) - 2.0f * step;
    }
    return values;
}

// The one who started the board ends it by closing our input; then the
// polls received and frames sent are printed.
template <typename Board>
void reportWhenInputCloses(QSocketNotifier &input, const Board &board)
{
    QObject::connect(&input, &QSocketNotifier::activated, [&input, &board] {
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
}

int runFirmware(QCoreApplication &app, const EngineConfig &config, bool report)
{
    FirmwareBoard board(config);
    if (!board.plugIn()) {
        std::fprintf(stderr, "aspirello-board: %s\n", qPrintable(board.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(board.portName()));
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(report);
    reportWhenInputCloses(input, board);
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
        QStringLiteral("paced"), QStringLiteral("Send replies at the pace of a 38400-baud line."));
    const QCommandLineOption reportOption(QStringLiteral("report"),
                                          QStringLiteral("Stop when standard input closes and print "
                                                         "the polls received and "
                                                         "frames sent."));
    const QCommandLineOption readingsOption(
        QStringLiteral("readings"),
        QStringLiteral("What the board reads: \"engine\" (the simulated engine), \"changing\" "
                       "(every bar moves at every frame) or \"steady\" (nothing moves)."),
        QStringLiteral("KIND"), QStringLiteral("engine"));
    const QCommandLineOption firmwareOption(
        QStringLiteral("firmware"),
        QStringLiteral("Run the board's own firmware in a simulated ATmega328P, in step with the "
                       "clock, its sensors fed by the simulated engine (replies go at the line's "
                       "pace; --readings is the engine's)."));
    parser.addOption(seedOption);
    parser.addOption(firmwareOption);
    parser.addOption(pacedOption);
    parser.addOption(reportOption);
    parser.addOption(readingsOption);
    parser.process(app);

    const QString readings = parser.value(readingsOption);
    if (readings != QLatin1String("engine") && readings != QLatin1String("changing")
        && readings != QLatin1String("steady")) {
        std::fprintf(stderr, "aspirello-board: --readings wants engine, changing or steady\n");
        return 2;
    }

    bool seedOk = false;
    const qulonglong seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!seedOk) {
        std::fprintf(stderr, "aspirello-board: --seed wants a non-negative integer\n");
        return 2;
    }

    EngineConfig config;
    config.seed = seed;
    if (parser.isSet(firmwareOption)) {
        if (readings != QLatin1String("engine")) {
            std::fprintf(stderr,
                         "aspirello-board: the firmware reads the engine; leave out --readings\n");
            return 2;
        }
        return runFirmware(app, config, parser.isSet(reportOption));
    }
    SimulatedBoard board(config);
    board.setPaced(parser.isSet(pacedOption));
    if (readings != QLatin1String("engine")) {
        const bool changing = readings == QLatin1String("changing");
        QObject::connect(&board, &SimulatedBoard::pollReceived, [&board, changing] {
            const CylinderValues values = patternReadings(board.pollsReceived(), changing);
            for (std::size_t cylinder = 0; cylinder < values.size(); ++cylinder)
                board.setValueOfNextReply(readingOffset(static_cast<int>(cylinder)),
                                          values[cylinder]);
        });
    }
    if (!board.plugIn()) {
        std::fprintf(stderr, "aspirello-board: %s\n", qPrintable(board.errorString()));
        return 1;
    }

    std::printf("%s\n", qPrintable(board.portName()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(parser.isSet(reportOption));
    reportWhenInputCloses(input, board);
    return app.exec();
}
