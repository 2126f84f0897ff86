// The simulated board for the benchmarks, in a process of its own: paced at
// 38400 baud, it prints its port on the first line, answers there, and when
// its standard input closes prints the polls received and frames sent and
// ends. Beside the simulated engine's readings it can send patterns made
// for measuring the window's painting.

#include "simulatedboard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

enum class Readings { Engine, Changing, Steady };

// Changing: each cylinder ramps down 2 kPa per frame over 20 frames and
// jumps back, so that every bar, raw and averaged over the last 10 frames,
// moves at every frame. Steady: the same four values at every frame.
CylinderValues patternReadings(quint64 frame, bool changing)
{
    CylinderValues values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const float step = changing ? static_cast<float>(frame % 20) : 0.0f;
        values[i] = -5.5f - static_cast<float>(i) - 2.0f * step;
    }
    return values;
}

// The model's frames (its cycle time, its pace) with the pattern's readings.
class PatternReplies : public ReplyShaper
{
public:
    explicit PatternReplies(bool changing)
        : changing(changing)
    {
    }

    void answer(BoardModel &model, double nowMs, BoardLine &line) override
    {
        MeasurementFrame frame = model.takeFrame(nowMs);
        frame.readings = patternReadings(++frames, changing);
        line.queue(encodeFrame(frame), 0, true);
    }

private:
    bool changing;
    quint64 frames = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench_board"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption readingsOption(
        QStringLiteral("readings"),
        QStringLiteral("What the board reads: \"engine\" (the simulated engine), \"changing\" "
                       "(every bar moves at every frame) or \"steady\" (nothing moves)."),
        QStringLiteral("KIND"), QStringLiteral("engine"));
    parser.addOption(readingsOption);
    parser.process(app);

    const QString kind = parser.value(readingsOption);
    Readings readings = Readings::Engine;
    if (kind == QLatin1String("changing"))
        readings = Readings::Changing;
    else if (kind == QLatin1String("steady"))
        readings = Readings::Steady;
    else if (kind != QLatin1String("engine")) {
        std::fprintf(stderr, "bench_board: --readings wants engine, changing or steady\n");
        return 2;
    }

    SimulatedBoard board;
    board.setPaced(true);
    PatternReplies pattern(readings == Readings::Changing);
    if (readings != Readings::Engine)
        board.setReplyShaper(&pattern);
    unsigned long long polls = 0;
    unsigned long long frames = 0;
    QObject::connect(&board, &SimulatedBoard::pollReceived, [&polls] { ++polls; });
    QObject::connect(&board, &SimulatedBoard::replySent, [&frames] { ++frames; });
    if (!board.plugIn()) {
        std::fprintf(stderr, "bench_board: %s\n", qPrintable(board.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(board.portName()));
    std::fflush(stdout);

    // The one who started the board ends it by closing our input.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char discard[256];
        if (::read(STDIN_FILENO, discard, sizeof discard) > 0)
            return;
        input.setEnabled(false);
        std::printf("polls %llu frames %llu\n", polls, frames);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
