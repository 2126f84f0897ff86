// The gauge against the simulated board, driven through the same steps as
// the demo: frames flow, the displays move, the log keeps every frame, new
// settings reach the board, and a board pulled out and put back is survived.
#include "demosession.h"
#include "firmwareboard.h"
#include "mainwindow.h"
#include "scratchdirectory.h"
#include "simulatedboard.h"
#include "testboard.h"
#include "windowrig.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QComboBox>
#include <QLCDNumber>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <sys/stat.h>

namespace {

constexpr int kWaitMs = 15000;

QLCDNumber *display(MainWindow &window, const char *name)
{
    return child<QLCDNumber>(&window, name);
}

void click(MainWindow &window, const char *name)
{
    child<QPushButton>(&window, name)->click();
}

// Counts the ticks of the window's poll timer, the repeating timer that
// runs at the period in the form.
class PollTicks : public QObject
{
public:
    explicit PollTicks(MainWindow &window)
        : periodMs(child<QSpinBox>(&window, "spin_ms_timer")->value())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PollTicks() override { QCoreApplication::instance()->removeEventFilter(this); }

    int count = 0;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *timer = qobject_cast<QTimer *>(object);
        if (event->type() == QEvent::Timer && timer && !timer->isSingleShot()
            && timer->interval() == periodMs)
            ++count;
        return false;
    }

private:
    const int periodMs;
};

} // namespace

class TestDemoEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void framesFlowAndEveryOneIsLogged();
    void newInnerLoopCountChangesTheCycleTime();
    void boardPulledOutAndPutBack();
    void demoSavesAScreenshotHeadless_data();
    void demoSavesAScreenshotHeadless();
    void boardFirmwareDrivesTheGauge();
    void withoutDisplay_data();
    void withoutDisplay();
};

void TestDemoEndToEnd::framesFlowAndEveryOneIsLogged()
{
    // The demo's own board.
    SimulatedBoard board;
    QVERIFY2(board.plugIn(), qPrintable(board.errorString()));
    MainWindow window;
    offerBoardPort(window, board.portName());
    // Offered under its name below /dev, which the serial library opens.
    QVERIFY(board.portName().startsWith(QLatin1String("/dev/pts/")));
    QCOMPARE(child<QComboBox>(&window, "combo_serial")->currentText(), board.portName().mid(5));
    QVERIFY(openAndPollContinuously(window));

    QTRY_VERIFY_WITH_TIMEOUT(acceptedFrames(window) >= 30, kWaitMs);

    // The displays show a live, unbalanced engine: vacuum on every intake,
    // the reference's difference 0, the others not.
    for (const char *name : {"A", "B", "C", "D", "AM", "BM", "CM", "DM"}) {
        const double value = display(window, name)->value();
        QVERIFY2(value < -10.0 && value > -40.0, name);
    }
    QCOMPARE(display(window, "AD")->value(), 0.0);
    QVERIFY(display(window, "BD")->value() != 0.0);
    QCOMPARE(display(window, "Tardu")->value(), 15.0);

    // Salva writes exactly the accepted frames, each a well-formed line.
    ScratchDirectory workDir;
    QVERIFY(workDir.isValid());
    const int framesAtSave = acceptedFrames(window);
    click(window, "button_startSampling");

    const QStringList saved =
        QDir(workDir.path()).entryList({QStringLiteral("log_A_B_C_D_EMEDIE*.txt")});
    QCOMPARE(saved.size(), 1);
    QFile file(QDir(workDir.path()).filePath(saved.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(content.count('\r'), content.count('\n'));
    const QStringList lines =
        QString::fromLatin1(content).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), framesAtSave);
    const QString field = QStringLiteral("-?\\d+\\.\\d{6}");
    const QRegularExpression line(QStringLiteral("^(%1,){7}%1$").arg(field));
    for (const QString &text : lines)
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
}

void TestDemoEndToEnd::newInnerLoopCountChangesTheCycleTime()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    MainWindow window;
    offerBoardPort(window, board.portName());
    QVERIFY(openAndPollContinuously(window));
    QTRY_COMPARE_WITH_TIMEOUT(display(window, "Tardu")->value(), 15.0, kWaitMs);

    child<QSpinBox>(&window, "MedInt")->setValue(40);
    click(window, "INVIA");
    QTRY_COMPARE_WITH_TIMEOUT(display(window, "Tardu")->value(), 60.0, kWaitMs);
    QCOMPARE(board.lastInnerLoopCount(), 40.0f);
}

void TestDemoEndToEnd::boardPulledOutAndPutBack()
{
    SimulatedBoard board;
    QVERIFY(board.plugIn());
    MainWindow window;
    offerBoardPort(window, board.portName());
    MessageCapture messages;
    QVERIFY(openAndPollContinuously(window));
    QTRY_VERIFY_WITH_TIMEOUT(acceptedFrames(window) >= 10, kWaitMs);

    board.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(messages.count(QStringLiteral("Seriale persa")) == 1, kWaitMs);
    auto *connectButton = child<QPushButton>(&window, "push_serial_connect");
    QVERIFY(!connectButton->isChecked());

    // Nothing measured is lost, and the poll timer's ticks on the closed
    // port change nothing.
    const QString logAfterLoss = window.measurementLog();
    const double shownAfterLoss = display(window, "AM")->value();
    PollTicks ticks(window);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count >= 5, kWaitMs);
    QCOMPARE(window.measurementLog(), logAfterLoss);
    QCOMPARE(display(window, "AM")->value(), shownAfterLoss);
    QCOMPARE(messages.count(QStringLiteral("Seriale persa")), 1);

    // The board is back, on a new port: "Aprila" opens it and the timer's
    // polls reach it again.
    QVERIFY(board.plugIn());
    offerBoardPort(window, board.portName());
    connectButton->click();
    QVERIFY(connectButton->isChecked());
    const int before = acceptedFrames(window);
    QTRY_VERIFY_WITH_TIMEOUT(acceptedFrames(window) >= before + 10, kWaitMs);
    QVERIFY(window.measurementLog().startsWith(logAfterLoss));
}

void TestDemoEndToEnd::demoSavesAScreenshotHeadless_data()
{
    QTest::addColumn<QStringList>("board");
    QTest::newRow("simulated board") << QStringList();
    // The board's own firmware, found beside the demo.
    QTest::newRow("board's firmware") << QStringList{QStringLiteral("--firmware")};
}

// The picture comes in the format its name asks for, at the fastest poll
// period, and the gauge's debug line per reading stays off the terminal.
void TestDemoEndToEnd::demoSavesAScreenshotHeadless()
{
    QFETCH(QStringList, board);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString picture = dir.filePath(QStringLiteral("gauge.jpg"));
    QProcess demo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_LOGGING_RULES"));
    demo.setProcessEnvironment(environment);
    demo.start(QStringLiteral(DEMO_EXECUTABLE),
               board
                   + QStringList{QStringLiteral("--auto"), QStringLiteral("--period"),
                                 QStringLiteral("10"), QStringLiteral("--screenshot"), picture,
                                 QStringLiteral("--frames"), QStringLiteral("20")});
    QVERIFY(demo.waitForFinished(60000));
    QCOMPARE(demo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(demo.exitCode(), 0);
    QImageReader reader(picture);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.read().size(), QSize(1291, 903));
    const QByteArray output = demo.readAllStandardOutput() + demo.readAllStandardError();
    QVERIFY2(!output.contains("Ready read"), output.constData());
}

// The system closed: the board's own firmware in a simulated ATmega328P,
// fed by the engine through its sensors, polled by the gauge's real
// pipeline. The engine's vacuum shows, the inner-loop count sent changes the
// cycle the board measures, and every poll gets one whole frame.
void TestDemoEndToEnd::boardFirmwareDrivesTheGauge()
{
    FirmwareBoard board(EngineConfig(), QStringLiteral(FIRMWARE_ELF));
    QVERIFY2(board.plugIn(), qPrintable(board.errorString()));
    MainWindow window;
    offerBoardPort(window, board.portName());
    // Keeps the gauge's debug line per reading out of the test's output.
    MessageCapture messages;
    QVERIFY(openAndPollContinuously(window));

    // Past the power-on half second and the hoses going on, the displays
    // follow the engine: about -25 kPa, the cylinders apart by their offsets.
    QTRY_VERIFY_WITH_TIMEOUT(display(window, "A")->value() < -15.0, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(acceptedFrames(window) >= 40, kWaitMs);
    for (const char *name : {"A", "B", "C", "D"}) {
        const double value = display(window, name)->value();
        QVERIFY2(value < -15.0 && value > -35.0, name);
    }
    // The cycle as the board's timer measured it, to a microsecond or so.
    const auto cycleTimeNear = [&](double ms) {
        return std::fabs(display(window, "Tardu")->value() - ms) < 0.01;
    };
    QVERIFY(cycleTimeNear(10.0));

    child<QSpinBox>(&window, "MedInt")->setValue(40);
    click(window, "INVIA");
    QTRY_VERIFY_WITH_TIMEOUT(cycleTimeNear(40.0), kWaitMs);

    // The board answered every poll it heard with one frame. (On a loaded
    // machine the simulator may fall behind the clock and catch up, so that
    // two replies reach the gauge together and it drops both, as it would
    // from a real board.)
    click(window, "push_serial_connect");
    QTRY_VERIFY_WITH_TIMEOUT(board.framesSent() == board.pollsReceived(), kWaitMs);
    QVERIFY(board.pollsReceived() >= static_cast<std::uint64_t>(acceptedFrames(window)));
    board.unplug();
    QVERIFY(!board.isPluggedIn());
}

// Without a display the programs say so and how to take a picture instead,
// with an exit code of their own, rather than being aborted by the toolkit;
// the demo asked for a picture takes it without one.
void TestDemoEndToEnd::withoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // in standard error
    const QString noDisplay = QStringLiteral("needs a display");
    QTest::newRow("Aspirello") << GAUGE_EXECUTABLE << QStringList() << 7 << noDisplay;
    QTest::newRow("Aspirello-demo") << DEMO_EXECUTABLE << QStringList{"--auto"} << 7 << noDisplay;
    QTest::newRow("Aspirello, X asked for")
        << GAUGE_EXECUTABLE << QStringList{"-platform", "xcb"} << 7 << noDisplay;
    QTest::newRow("Aspirello-demo taking a picture")
        << DEMO_EXECUTABLE << QStringList{"--auto", "--screenshot", "gauge.png", "--frames", "5"} << 0
        << QString();
    // The picture is written as every file is: the system's reason when it
    // cannot be, and never into a pipe (which would hold the demo forever).
    QTest::newRow("Aspirello-demo, a picture into a missing folder")
        << DEMO_EXECUTABLE << QStringList{"--auto", "--screenshot", "none/gauge.png", "--frames", "5"}
        << 1 << "could not write none/gauge.png: No such file or directory";
    QTest::newRow("Aspirello-demo, a picture into a pipe")
        << DEMO_EXECUTABLE << QStringList{"--auto", "--screenshot", "pipe.png", "--frames", "5"} << 1
        << "could not write pipe.png: not a regular file";
}

void TestDemoEndToEnd::withoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("pipe.png")));
    if (arguments.contains(QStringLiteral("pipe.png")))
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    if (exitCode == 0) {
        QCOMPARE(QImageReader(dir.filePath(QStringLiteral("gauge.png"))).size(), QSize(1291, 903));
        return;
    }
    QVERIFY2(errors.contains(message), qPrintable(errors));
    if (exitCode != 7) {
        struct stat status;
        QVERIFY(::lstat(pipe.constData(), &status) != 0 || S_ISFIFO(status.st_mode));
        return;
    }
    QVERIFY2(errors.contains(QLatin1String("QT_QPA_PLATFORM=offscreen Aspirello-demo --auto "
                                           "--screenshot")),
             qPrintable(errors));
    QVERIFY2(!errors.contains(QLatin1String("plugin")), qPrintable(errors));
}

QTEST_MAIN(TestDemoEndToEnd)
#include "test_demo_endtoend.moc"
