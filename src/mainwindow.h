#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "deviceprotocol.h"
#include "measure/runningaverage.h"
#include "measurementlog.h"
#include "replywatch.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>

class DisplayRefresh;
struct MainWindowForm;
class QMessageLogger;

// The gauge's one window: it owns the form, the serial port to the
// measuring board, the poll timer, the running averages and the log.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Appends the log line of one accepted frame while the log has room; the
    // first line that finds it full is reported once, in the debug output
    // and the status bar.
    void appendLogLine(float r1, float r2, float r3, float r4, float m1, float m2, float m3,
                       float m4);

    // Writes the log to a new dated file named from prefix in the working
    // directory; the outcome goes to the debug lines of the clicked slot and
    // to the status bar.
    void saveLogFile(const QString &prefix, const QMessageLogger &slotLog);

    // The measurement log as it stands: one CR LF line per accepted frame.
    const QString &measurementLog() const { return logText; }

    // The most characters the log holds (kLogBound unless changed). A bound
    // below the present text leaves the text as it is; the next line then
    // finds the log full.
    void setLogBound(qsizetype characters) { logBound = characters; }

    // The timer that polls the board, to look at: its period and whether it
    // runs.
    const QTimer &pollingTimer() const { return pollTimer; }

    // Shows one accepted frame on every display and bar, feeds the running
    // averages and appends the log line. Run by serial_ready_read.
    void runReadingPipeline(const MeasurementFrame &frame);

private slots:
    void serial_ready_read();
    void timer_end();
    void on_push_serial_connect_clicked();
    void on_push_start_data_clicked();
    void on_button_startSampling_clicked();
    void on_button_startSampling_2_clicked();
    void on_button_startSampling_3_clicked();
    void on_Media_valueChanged(int arg1);
    void on_INVIA_clicked();

private:
    void sendToBoard(const QByteArray &bytes);
    // Sends a poll on an open port, and counts it as owed an answer.
    void sendPoll();
    void onSerialError(QSerialPort::SerialPortError error);
    // A port opened or closed: no answer is owed on it any more.
    void forgetOwedReplies();
    // Says in the status bar whether the board on the open port answers,
    // or takes that back; and wakes when it may next have to.
    void checkReplies();

    // What a status-bar message is about: a message is taken back when its
    // cause has gone (a port opened, the log emptied).
    enum class Notice {
        None,
        Link,
        LogFull,
        Save,
        Settings,
        Replies,
    };
    void showNotice(Notice kind, const QString &text);
    void withdrawNotice(Notice kind);

    int averageLength;
    QString logText;
    // The log's bound, and whether a line has found it full: then it takes
    // no more lines, not even shorter ones, until Reset empties it.
    qsizetype logBound = kLogBound;
    bool logFull = false;
    Notice shownNotice = Notice::None;
    MainWindowForm *form;
    QSerialPort serialPort;
    QTimer pollTimer;
    std::array<RunningAverage, kCylinderCount> cylinderAverages;
    std::unique_ptr<DisplayRefresh> displayRefresh;
    // Whether polls on the open port are answered, on a steady clock; the
    // timer wakes when an unanswered poll has waited long enough to be told.
    ReplyWatch replyWatch;
    ReplyWatch::State repliesTold = ReplyWatch::State::Answering;
    QElapsedTimer linkClock;
    QTimer replyDue;
};

#endif // MAINWINDOW_H
