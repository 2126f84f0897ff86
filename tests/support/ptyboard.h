#ifndef PTYBOARD_H
#define PTYBOARD_H

#include "frames.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtGlobal>

#include <termios.h>

// The board's end of a pseudo-terminal: the window opens the slave path as
// its serial port, the test writes the board's replies into the master and
// reads back what the window sent.
class PtyBoard
{
public:
    PtyBoard();
    ~PtyBoard();
    PtyBoard(const PtyBoard &) = delete;
    PtyBoard &operator=(const PtyBoard &) = delete;

    bool isValid() const { return masterFd >= 0; }
    QString portName() const { return slavePath; }

    // Writes every byte to the line; false if the line would not take them.
    bool send(const QByteArray &bytes);

    // What the window has sent so far and the test has not yet taken.
    const QByteArray &received();
    QByteArray takeReceived();

    // Spins the event loop until at least count bytes have been received.
    bool waitForReceived(int count, int timeoutMs = 5000);

    // The line settings as the window's end has set them.
    bool lineSettings(termios *settings) const;

    // The board is unplugged: its end of the line closes.
    void unplug();

private:
    void readAvailable();

    int masterFd = -1;
    int slaveFd = -1;
    QString slavePath;
    QByteArray input;
};

// A widget of the window by its object name, or null.
template <typename T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

// Picks the board's port in combo_serial and clicks push_serial_connect;
// false if the window lacks either widget.
bool attachBoard(QWidget *window, const PtyBoard &board);

// Records every message of the toolkit's logger while it lives; one at a
// time, since the logger has one handler.
class MessageCapture
{
public:
    struct Message
    {
        QtMsgType type;
        QString text;
        QString function;
    };

    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    QList<Message> messages() const;
    // The texts of the debug lines written from function, in order.
    QStringList textsFrom(const QString &function) const;
    bool contains(const QString &text, const QString &function) const;
    // How many debug lines read text, whatever function wrote them.
    int count(const QString &text) const;
    void clear();
};

#endif // PTYBOARD_H
