// The measurement log: one line per accepted frame, saved to dated files.
#include "mainwindow.h"

#include "measurementlog.h"
#include "usermessages.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QTime>

void MainWindow::appendLogLine(float r1, float r2, float r3, float r4, float m1, float m2, float m3,
                               float m4)
{
    if (logFull || appendWithinBound(logText, logBound, {r1, r2, r3, r4}, {m1, m2, m3, m4}))
        return;
    logFull = true;
    qDebug() << "Log pieno";
    showNotice(Notice::LogFull, logFullMessage());
}

void MainWindow::saveLogFile(const QString &prefix, const QMessageLogger &slotLog)
{
    // The date first, then the time, each read once.
    const QDate date = QDate::currentDate();
    const QTime time = QTime::currentTime();
    const QString fileName = logFileName(prefix, date, time);
    slotLog.debug() << fileName;

    LogSaveFailure failure;
    switch (writeLogFile(fileName, logText, &failure)) {
    case LogSaveResult::Saved:
        slotLog.debug() << "Salvato correttamente";
        showNotice(Notice::Save, savedMessage(QDir::currentPath(), fileName));
        return;
    case LogSaveResult::OpenFailed:
        slotLog.debug() << "Errore nell'apertura file";
        break;
    case LogSaveResult::WriteFailed:
        slotLog.debug() << "Errore nella scrittura file";
        break;
    }
    showNotice(Notice::Save, saveFailedMessage(failure.error, failure.reason));
}

// The debug lines of a save name the button's slot.
#define SLOT_LOGGER QMessageLogger(QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC)

void MainWindow::on_button_startSampling_clicked()
{
    saveLogFile(QLatin1String(kLogFilePrefix), SLOT_LOGGER);
}

void MainWindow::on_button_startSampling_3_clicked()
{
    saveLogFile(QLatin1String(kTopLogFileMark) + QLatin1String(kLogFilePrefix), SLOT_LOGGER);
}

void MainWindow::on_button_startSampling_2_clicked()
{
    logText.clear();
    logFull = false;
    // Replaces whatever was said about the log: that it was full, or saved.
    showNotice(Notice::Save, logClearedMessage());
}
