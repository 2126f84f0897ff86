#include "simulatedboard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Paced replies go out in pieces this size: about a millisecond each.
constexpr int kPacedChunkSize = 4;

bool makeRaw(int fd, speed_t speed, tcflag_t dataBits)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    settings.c_cflag = (settings.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | dataBits | CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

SimulatedBoard::SimulatedBoard(const EngineConfig &config, QObject *parent)
    : QObject(parent), model_(config)
{
    clock_.start();
    pumpTimer_.setSingleShot(true);
    pumpTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pumpTimer_, &QTimer::timeout, this, &SimulatedBoard::writeDue);
}

SimulatedBoard::~SimulatedBoard()
{
    closeLine();
}

bool SimulatedBoard::plugIn()
{
    if (isPluggedIn())
        return true;

    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        errorString_ = systemError("openpty");
        return false;
    }
    char name[256] = {};
    // Raw from the start, so that nothing is echoed or translated before the
    // program sets up its end; the program's end starts at 9600 baud and
    // seven data bits, so that the line settings the program chooses show.
    const bool ready = makeRaw(slave, B9600, CS7) && makeRaw(master, B38400, CS8)
                       && fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0
                       && fcntl(master, F_SETFD, FD_CLOEXEC) == 0
                       && fcntl(slave, F_SETFD, FD_CLOEXEC) == 0
                       && ttyname_r(slave, name, sizeof name) == 0;
    if (!ready) {
        errorString_ = systemError("pseudo-terminal setup");
        ::close(master);
        ::close(slave);
        return false;
    }

    // The board keeps its own slave descriptor open, so the line stays up
    // while the program closes and reopens the port.
    masterFd_ = master;
    slaveFd_ = slave;
    portName_ = QString::fromLocal8Bit(name);
    errorString_.clear();

    readNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &SimulatedBoard::readInput);
    writeNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &SimulatedBoard::writeDue);

    emit pluggedIn(portName_);
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
    pumpTimer_.stop();
    // The notifiers go before the descriptor they watch.
    for (QSocketNotifier *notifier : {readNotifier_, writeNotifier_}) {
        if (notifier) {
            notifier->setEnabled(false);
            delete notifier;
        }
    }
    readNotifier_ = nullptr;
    writeNotifier_ = nullptr;
    if (masterFd_ >= 0)
        ::close(masterFd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    masterFd_ = -1;
    slaveFd_ = -1;
    portName_.clear();
    input_.clear();
    output_.clear();
    lineFreeNs_ = 0;
}

void SimulatedBoard::setFixedTimeStep(double ms)
{
    fixedStepMs_ = ms > 0.0 ? ms : 0.0;
    nextFixedTimeMs_ = 0.0;
}

void SimulatedBoard::setPaced(bool paced)
{
    paced_ = paced;
}

void SimulatedBoard::splitNextReply(int firstPartSize, int pauseMs)
{
    splitSize_ = firstPartSize;
    splitPauseMs_ = std::max(0, pauseMs);
    splitEvery_ = false;
}

void SimulatedBoard::splitEveryReply(int firstPartSize, int pauseMs)
{
    splitNextReply(firstPartSize, pauseMs);
    splitEvery_ = true;
}

void SimulatedBoard::stopSplitting()
{
    splitSize_ = 0;
    splitEvery_ = false;
}

void SimulatedBoard::addStrayBytesBeforeNextReply(const QByteArray &bytes)
{
    strayBytes_ += bytes;
}

void SimulatedBoard::setSilent(bool silent)
{
    silent_ = silent;
}

void SimulatedBoard::setValueOfNextReply(int offset, float value)
{
    if (offset >= 0 && offset <= kFrameSize - kValueSize)
        nextReplyValues_.emplace_back(offset, value);
}

bool SimulatedBoard::send(const QByteArray &bytes)
{
    if (!isPluggedIn())
        return false;
    queue(bytes, clock_.nsecsElapsed(), false);
    writeDue();
    return true;
}

const QByteArray &SimulatedBoard::received()
{
    if (isPluggedIn())
        readInput();
    return received_;
}

QByteArray SimulatedBoard::takeReceived()
{
    received();
    QByteArray taken;
    taken.swap(received_);
    return taken;
}

bool SimulatedBoard::waitForReceived(int count, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (received().size() < count && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (isPluggedIn()) {
            pollfd p{masterFd_, POLLIN, 0};
            ::poll(&p, 1, 5);
        } else {
            QThread::msleep(5);
        }
    }
    return received().size() >= count;
}

bool SimulatedBoard::lineSettings(termios *settings) const
{
    return slaveFd_ >= 0 && tcgetattr(slaveFd_, settings) == 0;
}

void SimulatedBoard::readInput()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
        if (n > 0) {
            input_.append(buffer, static_cast<int>(n));
            received_.append(buffer, static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of file or a line error: stop watching rather than spin on it.
        readNotifier_->setEnabled(false);
        errorString_ = n == 0 ? QStringLiteral("line closed") : systemError("read");
        break;
    }
    parseInput();
}

void SimulatedBoard::parseInput()
{
    int pos = 0;
    while (pos < input_.size()) {
        const char c = input_.at(pos);
        if (c != '@' && c != '$') {
            ++pos;
            continue;
        }
        if (pos + 1 >= input_.size())
            break; // might be the start of a command
        if (input_.at(pos + 1) != c) {
            ++pos;
            continue;
        }
        if (c == '@') {
            pos += 2;
            answerPoll();
        } else {
            if (input_.size() - pos < kSettingsCommandSize)
                break;
            const QByteArray command = input_.mid(pos, kSettingsCommandSize);
            pos += kSettingsCommandSize;
            takeSettings(command.constData());
        }
        // A receiver of the signals above may have unplugged the board.
        if (!isPluggedIn())
            return;
    }
    input_.remove(0, pos);
}

void SimulatedBoard::answerPoll()
{
    ++pollsReceived_;
    emit pollReceived();
    if (silent_ || !isPluggedIn())
        return;

    double timeMs;
    if (fixedStepMs_ > 0.0) {
        timeMs = nextFixedTimeMs_;
        nextFixedTimeMs_ += fixedStepMs_;
    } else {
        timeMs = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    }
    QByteArray reply = encodeFrame(model_.takeFrame(timeMs));
    for (const auto &[offset, value] : nextReplyValues_)
        putFloatLittleEndian(reply, offset, value);
    nextReplyValues_.clear();

    const qint64 now = clock_.nsecsElapsed();
    QByteArray first = strayBytes_;
    strayBytes_.clear();
    if (splitSize_ > 0 && splitSize_ < reply.size()) {
        first += reply.left(splitSize_);
        queue(first, now, false);
        queue(reply.mid(splitSize_), lineFreeNs_ + splitPauseMs_ * 1'000'000LL, true);
        if (!splitEvery_)
            splitSize_ = 0;
    } else {
        queue(first + reply, now, true);
    }
    writeDue();
}

void SimulatedBoard::takeSettings(const char *command)
{
    lastInnerLoopCount_ = readFloatLittleEndian(command + kInnerLoopCountOffset);
    lastLowPassCoefficient_ = readFloatLittleEndian(command + kLowPassCoefficientOffset);
    ++settingsReceived_;
    model_.applySettings(lastInnerLoopCount_, lastLowPassCoefficient_);
    emit settingsCommandReceived(lastInnerLoopCount_, lastLowPassCoefficient_);
}

void SimulatedBoard::queue(const QByteArray &bytes, qint64 earliestNs, bool endsReply)
{
    const qint64 start = std::max(earliestNs, lineFreeNs_);
    if (!paced_) {
        output_.push_back({bytes, start, endsReply});
        lineFreeNs_ = start;
        return;
    }
    // Each piece may go once its last byte would have crossed the line.
    for (int offset = 0; offset < bytes.size(); offset += kPacedChunkSize) {
        const QByteArray chunk = bytes.mid(offset, kPacedChunkSize);
        const bool last = offset + chunk.size() >= bytes.size();
        output_.push_back({chunk, start + (offset + chunk.size()) * kByteNs, endsReply && last});
    }
    lineFreeNs_ = start + bytes.size() * kByteNs;
}

void SimulatedBoard::writeDue()
{
    if (!isPluggedIn())
        return;
    int repliesDone = 0;
    const qint64 now = clock_.nsecsElapsed();
    bool blocked = false;
    while (!output_.empty() && output_.front().dueNs <= now) {
        Piece &piece = output_.front();
        const ssize_t n = ::write(masterFd_, piece.bytes.constData(), static_cast<size_t>(piece.bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            blocked = true;
            break;
        }
        if (n < 0) {
            errorString_ = systemError("write");
            output_.clear();
            break;
        }
        if (n < piece.bytes.size()) {
            piece.bytes.remove(0, static_cast<int>(n));
            blocked = true;
            break;
        }
        repliesDone += piece.endsReply ? 1 : 0;
        output_.pop_front();
    }

    // Nobody reading the line: wait until it drains rather than poll.
    writeNotifier_->setEnabled(blocked);
    if (!blocked && !output_.empty()) {
        const qint64 waitNs = output_.front().dueNs - now;
        pumpTimer_.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
    }

    framesSent_ += static_cast<quint64>(repliesDone);
}
