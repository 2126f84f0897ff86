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
// "Log salvato in <folder>/<file>": the folder too, since the working
// directory of a program started from a menu is not obvious.
QString savedMessage(const QString &folder, const QString &fileName);
// Said by "Reset".
QString logClearedMessage();
QString boardLostMessage();
QString logFullMessage();
// Polls on <port> have gone unanswered (see ReplyWatch).
QString noAnswerMessage(const QString &portName);
// Bytes come back on <port> but never form a frame: not the board, or not
// its firmware.
QString notABoardMessage(const QString &portName);
// What "Invia" sent: the inner-loop count as a whole number, the low-pass
// coefficient with a decimal comma and as many decimals as its box shows
// ("Impostazioni inviate: ciclo 1000, filtro 0,50000").
QString settingsSentMessage(int innerLoopCount, double lowPassCoefficient, int decimals);
// "Invia" with the port closed: nothing went out.
QString settingsNotSentMessage();

#endif // USERMESSAGES_H
