#ifndef USERMESSAGES_H
#define USERMESSAGES_H

#include <QFileDevice>
#include <QSerialPort>
#include <QString>

// The short Italian texts the window's status bar shows when something a
// user should know about happens. Reasons come from the toolkit's error code
// and text, put in plain words; a text the toolkit gives that has no plain
// wording here is shown as it is.

// "Impossibile aprire <port>: <reason>".
QString portOpenFailedMessage(const QString &portName, QSerialPort::SerialPortError error,
                              const QString &toolkitReason);
// "Salvataggio non riuscito: <reason>".
QString saveFailedMessage(QFileDevice::FileError error, const QString &toolkitReason);
// "Log salvato in <file>".
QString savedMessage(const QString &fileName);
QString boardLostMessage();
QString logFullMessage();
// Polls on <port> have gone unanswered (see ReplyWatch).
QString noAnswerMessage(const QString &portName);
// Bytes come back on <port> but never form a frame: not the board, or not
// its firmware.
QString notABoardMessage(const QString &portName);

#endif // USERMESSAGES_H
