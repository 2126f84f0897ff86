// The board's firmware measured in the simulated ATmega328P: its size, how
// often it samples, how fast it answers, how fast it may be polled, its
// cycle times and its resolution per sensor type. Simulated time: the
// figures are the chip's at 16 MHz (the simulator's UART sends a byte in
// 11 bit times where the chip takes 10, which the line figures show).

#include "firmwarebench.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// Flash and RAM as avr-size counts them for the chip.
void printSize()
{
    QProcess size;
    size.start(QStringLiteral("avr-size"),
               {QStringLiteral("-C"), QStringLiteral("--mcu=atmega328p"),
                QString::fromStdString(firmwareFor(board::Mpx4115a))});
    size.waitForFinished();
    const QString text = QString::fromLocal8Bit(size.readAllStandardOutput());
    const QRegularExpression program(QStringLiteral("Program:\\s+(\\d+) bytes \\(([\\d.]+)% Full"));
    const QRegularExpression data(QStringLiteral("Data:\\s+(\\d+) bytes \\(([\\d.]+)% Full"));
    const auto p = program.match(text);
    const auto d = data.match(text);
    if (!p.hasMatch() || !d.hasMatch()) {
        std::printf("  avr-size gave no figures\n");
        return;
    }
    std::printf("  flash used:              %5s bytes of 32768 (%s %%; the bootloader has its own "
                "0.5 to 2 KiB)\n",
                qPrintable(p.captured(1)), qPrintable(p.captured(2)));
    std::printf("  RAM used, static:        %5s bytes of 2048 (%s %%; no heap)\n",
                qPrintable(d.captured(1)), qPrintable(d.captured(2)));
}

void printSampleRate()
{
    FirmwareBench bench;
    bench.powerOnIn(101.3);
    std::uint64_t before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = bench.mcu.conversionsOf(i);
    bench.mcu.runFor(1.0);
    std::printf("  samples per second:     ");
    for (int i = 0; i < 4; ++i)
        std::printf(" A%d %llu", i,
                    static_cast<unsigned long long>(bench.mcu.conversionsOf(i) - before[i]));
    std::printf("\n");
}

// From the end of the poll's last byte to the start of the reply, at
// random places in the board's cycles.
void printLatency()
{
    FirmwareBench bench;
    bench.powerOnIn(101.3);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> pause(0.0, 0.011);
    std::vector<double> latencies;
    for (int i = 0; i < 1000; ++i) {
        bench.mcu.runFor(pause(random));
        bench.mcu.send(std::string("@@"));
        bench.mcu.runUntilReceived(kFrameSize, 0.05);
        const auto bytes = bench.mcu.takeReceived();
        if (bytes.size() != static_cast<std::size_t>(kFrameSize)) {
            std::printf("  a poll went unanswered\n");
            return;
        }
        latencies.push_back(
            SimulatedMcu::secondsOf(bytes.front().cycle - bench.mcu.lastSentEndCycle()) * 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("  poll to reply:           median %.0f us, longest %.0f us (1000 polls)\n",
                latencies[latencies.size() / 2], latencies.back());
}

// Polls at a fixed period for two seconds; true if each was answered by
// one whole frame before the next poll went out.
bool everyPollAnswered(double periodSeconds)
{
    FirmwareBench bench;
    bench.powerOnIn(101.3);
    bench.mcu.takeReceived();
    const int polls = static_cast<int>(2.0 / periodSeconds);
    for (int i = 0; i < polls; ++i) {
        const std::uint64_t next = bench.mcu.cycle() + SimulatedMcu::cyclesOf(periodSeconds);
        bench.mcu.send(std::string("@@"));
        bench.mcu.runUntil(next);
        if (bench.mcu.takeReceived().size() != static_cast<std::size_t>(kFrameSize))
            return false;
    }
    return true;
}

void printFastestPolling()
{
    double fastest = 0.0;
    for (double ms = 10.0; ms >= 4.0; ms -= 0.1) {
        if (!everyPollAnswered(ms / 1000.0))
            break;
        fastest = ms;
    }
    const double frameMs = kFrameSize * SimulatedMcu::kByteSeconds * 1000.0;
    std::printf("  fastest polling, none lost: every %.1f ms (%.0f polls/s); a frame takes %.2f ms "
                "on a\n"
                "                           %u-baud line, %.2f ms in the simulator\n",
                fastest, 1000.0 / fastest, frameMs, unsigned(board::kBaudRate), frameMs * 1.1);
}

void printCycleTimes()
{
    for (const float count : {10.0f, 1000.0f}) {
        FirmwareBench bench;
        bench.powerOnIn(101.3);
        bench.mcu.send(settingsBytes(count, 0.5f));
        bench.mcu.runFor(3.0 * count / 1000.0 + 0.05);
        MeasurementFrame frame;
        if (bench.poll(frame))
            std::printf("  cycle time, inner loop %4.0f: %.3f ms\n", count, frame.cycleTime);
    }
}

// One count up on the converter, as the readings show it.
void printResolution()
{
    for (const board::SensorKind kind : {board::Mpx4115a, board::Mpx4250ap}) {
        FirmwareBench bench(kind);
        bench.powerOnIn(101.3);
        bench.mcu.send(settingsBytes(10.0f, 1.0f));
        const double count = 600.0;
        MeasurementFrame low, high;
        bench.mcu.setInputFraction(0, count / 1024.0);
        bench.mcu.runFor(0.05);
        bench.poll(low);
        bench.mcu.setInputFraction(0, (count + 1.0) / 1024.0);
        bench.mcu.runFor(0.05);
        bench.poll(high);
        std::printf("  resolution, %-9s     %.4f kPa per count\n", board::sensorType(kind).name,
                    high.readings[0] - low.readings[0]);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("the board's firmware in a simulated ATmega328P at 16 MHz\n");
    printSize();
    printSampleRate();
    printLatency();
    printFastestPolling();
    printCycleTimes();
    printResolution();
    return 0;
}
