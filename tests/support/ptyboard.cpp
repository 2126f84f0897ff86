#include "ptyboard.h"

#include <QComboBox>
#include <QMutex>
#include <QMutexLocker>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyBoard::PtyBoard()
{
    // Raw from the start, so that nothing is echoed or translated before
    // the window sets up its end; 9600 baud and seven data bits, so that the
    // window's own line settings show.
    termios raw{};
    cfmakeraw(&raw);
    raw.c_cflag = (raw.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7 | CREAD | CLOCAL;
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    char path[256] = {};
    if (openpty(&masterFd, &slaveFd, path, &raw, nullptr) != 0) {
        masterFd = slaveFd = -1;
        return;
    }
    tcsetattr(masterFd, TCSANOW, &raw);
    fcntl(masterFd, F_SETFL, fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    slavePath = QString::fromLocal8Bit(path);
    // The slave descriptor stays open: it keeps the line up while the
    // window has its port closed.
}

PtyBoard::~PtyBoard()
{
    unplug();
}

bool PtyBoard::send(const QByteArray &bytes)
{
    if (masterFd < 0)
        return false;
    qsizetype done = 0;
    int stalls = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(masterFd, bytes.constData() + done,
                                  static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && ++stalls < 500) {
            QTest::qWait(10);
        } else {
            return false;
        }
    }
    return true;
}

void PtyBoard::readAvailable()
{
    if (masterFd < 0)
        return;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
        if (n > 0)
            input.append(buffer, static_cast<int>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return; // EAGAIN: nothing more; EIO: no one has the port open
    }
}

const QByteArray &PtyBoard::received()
{
    readAvailable();
    return input;
}

QByteArray PtyBoard::takeReceived()
{
    readAvailable();
    QByteArray taken;
    taken.swap(input);
    return taken;
}

bool PtyBoard::waitForReceived(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received().size() >= count; }, timeoutMs);
}

bool PtyBoard::lineSettings(termios *settings) const
{
    return slaveFd >= 0 && tcgetattr(slaveFd, settings) == 0;
}

void PtyBoard::unplug()
{
    if (masterFd >= 0)
        ::close(masterFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    masterFd = slaveFd = -1;
}

bool attachBoard(QWidget *window, const PtyBoard &board)
{
    auto *ports = child<QComboBox>(window, "combo_serial");
    auto *connect = child<QPushButton>(window, "push_serial_connect");
    if (!ports || !connect || !board.isValid())
        return false;
    ports->addItem(board.portName());
    ports->setCurrentIndex(ports->count() - 1);
    QTest::mouseClick(connect, Qt::LeftButton);
    return true;
}

namespace {

QMutex messagesLock;
QList<MessageCapture::Message> capturedMessages;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker locker(&messagesLock);
        capturedMessages.append({type, text, QString::fromUtf8(context.function)});
    }
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

MessageCapture::MessageCapture()
{
    clear();
    previousHandler = qInstallMessageHandler(captureMessage);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(previousHandler);
}

QList<MessageCapture::Message> MessageCapture::messages() const
{
    QMutexLocker locker(&messagesLock);
    return capturedMessages;
}

QStringList MessageCapture::textsFrom(const QString &function) const
{
    QStringList texts;
    for (const Message &message : messages()) {
        if (message.type == QtDebugMsg && message.function == function)
            texts.append(message.text);
    }
    return texts;
}

bool MessageCapture::contains(const QString &text, const QString &function) const
{
    return textsFrom(function).contains(text);
}

int MessageCapture::count(const QString &text) const
{
    int found = 0;
    for (const Message &message : messages())
        found += message.type == QtDebugMsg && message.text == text;
    return found;
}

void MessageCapture::clear()
{
    QMutexLocker locker(&messagesLock);
    capturedMessages.clear();
}
