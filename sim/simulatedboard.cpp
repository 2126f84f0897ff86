#include "simulatedboard.h"

#include "pseudoterminal.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Paced replies go out in pieces this size: about a millisecond each.
constexpr int kPacedChunkSize = 4;

} // namespace

void ReplyShaper::answer(BoardModel &model, double nowMs, BoardLine &line)
{
    line.queue(encodeFrame(model.takeFrame(nowMs)), 0, true);
}

SimulatedBoard::SimulatedBoard(const EngineConfig &config, QObject *parent)
    : QObject(parent)
    , boardModel(config)
{
    sinceStart.start();
    pumpTimer.setSingleShot(true);
    pumpTimer.setTimerType(Qt::PreciseTimer);
    connect(&pumpTimer, &QTimer::timeout, this, &SimulatedBoard::writeDue);
}

SimulatedBoard::~SimulatedBoard()
{
    closeLine();
}

bool SimulatedBoard::plugIn()
{
    if (isPluggedIn())
        return true;

    if (!terminal.open()) {
        lastError = terminal.errorString();
        return false;
    }
    lastError.clear();

    readNotifier = new QSocketNotifier(terminal.master(), QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &SimulatedBoard::readInput);
    writeNotifier = new QSocketNotifier(terminal.master(), QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, &SimulatedBoard::writeDue);

    emit pluggedIn(terminal.path());
    return true;
}

void SimulatedBoard::unplug()
{
    if (!isPluggedIn())
        return;
    closeLine();
    emit unplugged();
}

void SimulatedBoard::closeLine()
{
    pumpTimer.stop();
    // The notifiers go before the descriptor they watch.
    for (QSocketNotifier *notifier : {readNotifier, writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            delete notifier;
        }
    }
    readNotifier = nullptr;
    writeNotifier = nullptr;
    terminal.close();
    input.clear();
    output.clear();
    lineFreeNs = 0;
}

void SimulatedBoard::setPaced(bool paced)
{
    repliesPaced = paced;
}

void SimulatedBoard::setReplyShaper(ReplyShaper *replyShaper)
{
    shaper = replyShaper ? replyShaper : &defaultShaper;
}

bool SimulatedBoard::lineSettings(termios *settings) const
{
    return terminal.isOpen() && tcgetattr(terminal.slave(), settings) == 0;
}

void SimulatedBoard::readInput()
{
    char buffer[512];
    QByteArray arrived;
    for (;;) {
        const ssize_t n = ::read(terminal.master(), buffer, sizeof buffer);
        if (n > 0) {
            arrived.append(buffer, static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of file or a line error: stop watching rather than spin on it.
        readNotifier->setEnabled(false);
        lastError = n == 0 ? QStringLiteral("line closed") : systemErrorText("read");
        break;
    }
    if (arrived.isEmpty())
        return;
    input += arrived;
    emit bytesArrived(arrived);
    // A receiver of the signal may have unplugged the board.
    if (isPluggedIn())
        parseInput();
}

void SimulatedBoard::parseInput()
{
    int pos = 0;
    while (pos < input.size()) {
        const char c = input.at(pos);
        if (c != '@' && c != '$') {
            ++pos;
            continue;
        }
        if (pos + 1 >= input.size())
            break; // might be the start of a command
        if (input.at(pos + 1) != c) {
            ++pos;
            continue;
        }
        if (c == '@') {
            pos += 2;
            answerPoll();
        } else {
            if (input.size() - pos < kSettingsCommandSize)
                break;
            const QByteArray command = input.mid(pos, kSettingsCommandSize);
            pos += kSettingsCommandSize;
            takeSettings(command.constData());
        }
        // A receiver of the signals above may have unplugged the board.
        if (!isPluggedIn())
            return;
    }
    input.remove(0, pos);
}

void SimulatedBoard::answerPoll()
{
    emit pollReceived();
    if (isPluggedIn())
        shaper->answer(boardModel, static_cast<double>(sinceStart.nsecsElapsed()) / 1e6, line());
}

void SimulatedBoard::takeSettings(const char *command)
{
    const float innerLoopCount = readFloatLittleEndian(command + kInnerLoopCountOffset);
    const float lowPassCoefficient = readFloatLittleEndian(command + kLowPassCoefficientOffset);
    boardModel.applySettings(innerLoopCount, lowPassCoefficient);
    emit settingsCommandReceived(innerLoopCount, lowPassCoefficient);
}

void SimulatedBoard::queue(const QByteArray &bytes, int pauseMs, bool endsReply)
{
    if (!isPluggedIn())
        return;
    const qint64 start = std::max(sinceStart.nsecsElapsed(), lineFreeNs)
        + std::max(0, pauseMs) * 1'000'000LL;
    if (!repliesPaced) {
        output.push_back({bytes, start, endsReply});
        lineFreeNs = start;
    } else {
        // Each piece may go once its last byte would have crossed the line.
        for (int offset = 0; offset < bytes.size(); offset += kPacedChunkSize) {
            const QByteArray chunk = bytes.mid(offset, kPacedChunkSize);
            const bool last = offset + chunk.size() >= bytes.size();
            output.push_back({chunk, start + (offset + chunk.size()) * kByteNs, endsReply && last});
        }
        lineFreeNs = start + bytes.size() * kByteNs;
    }
    writeDue();
}

void SimulatedBoard::writeDue()
{
    if (!isPluggedIn())
        return;
    int repliesDone = 0;
    const qint64 now = sinceStart.nsecsElapsed();
    bool blocked = false;
    while (!output.empty() && output.front().dueNs <= now) {
        Piece &piece = output.front();
        const ssize_t n = ::write(terminal.master(), piece.bytes.constData(),
                                  static_cast<size_t>(piece.bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            blocked = true;
            break;
        }
        if (n < 0) {
            lastError = systemErrorText("write");
            output.clear();
            break;
        }
        if (n < piece.bytes.size()) {
            piece.bytes.remove(0, static_cast<int>(n));
            blocked = true;
            break;
        }
        repliesDone += piece.endsReply ? 1 : 0;
        output.pop_front();
    }

    // Nobody reading the line: wait until it drains rather than poll.
    writeNotifier->setEnabled(blocked);
    if (!blocked && !output.empty()) {
        const qint64 waitNs = output.front().dueNs - now;
        pumpTimer.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
    }

    for (int i = 0; i < repliesDone; ++i)
        emit replySent();
}
