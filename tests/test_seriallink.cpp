// The serial link seen from the board's end of a pseudo-terminal: opening
// and closing, the look of push_serial_connect, polls once and periodic, the
// settings command, and a board that is unplugged while the port is open.
#include "mainwindow.h"
#include "portlist.h"
#include "scratchdirectory.h"
#include "usermessages.h"
#include "windowrig.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLCDNumber>
#include <QPushButton>
#include <QLocale>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <memory>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString connectSlot = QStringLiteral("void MainWindow::on_push_serial_connect_clicked()");

// Counts the ticks of the window's poll timer and, when held, swallows them,
// so that every poll on the line can be accounted for without timing.
class PollTimerGate : public QObject
{
public:
    explicit PollTimerGate(const MainWindow *window)
        : window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PollTimerGate() override { QCoreApplication::instance()->removeEventFilter(this); }

    int ticks = 0;
    int interval = -1;
    bool held = false;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Timer)
            return false;
        auto *timer = qobject_cast<QTimer *>(object);
        if (!timer || !isPollTimer(timer)
            || static_cast<QTimerEvent *>(event)->timerId() != timer->timerId())
            return false;
        if (held)
            return true;
        ++ticks;
        interval = timer->interval();
        return false;
    }

private:
    bool isPollTimer(const QTimer *timer) const { return timer == &window->pollingTimer(); }

    const MainWindow *window;
};

struct Rig : WindowRig
{
    QPushButton *connect = nullptr;
    QPushButton *receive = nullptr;
    QCheckBox *periodic = nullptr;
    QSpinBox *period = nullptr;

    bool setUp()
    {
        connect = child<QPushButton>(&window, "push_serial_connect");
        receive = child<QPushButton>(&window, "push_start_data");
        periodic = child<QCheckBox>(&window, "check_timer");
        period = child<QSpinBox>(&window, "spin_ms_timer");
        return connect && receive && periodic && period && showWithBoard();
    }
    bool setUpConnected() { return setUp() && connectBoard(); }
};

// A rig whose poll timer ticks are counted (and held when asked).
struct GatedRig : Rig
{
    PollTimerGate gate{&window};
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// The board's port as the window names it: its path below /dev.
QString shortName(const TestBoard &board)
{
    return board.portName().mid(QStringLiteral("/dev/").size());
}

// Waits until the window tells the polls unanswered, a second after the
// oldest went out: long after a timer of the window's would have polled
// again, so that what has reached the board by then is all there is.
bool waitUntilToldSilent(Rig &rig)
{
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    const QString told = noAnswerMessage(shortName(rig.board));
    return status && QTest::qWaitFor([&] { return status->currentMessage() == told; }, 5000);
}

// Presses "Invia" and waits until its settings command has reached the
// board, behind everything the window wrote before it.
bool sendSettingsAfterTheRest(Rig &rig)
{
    const int before = rig.board.received().size();
    rig.click(child<QPushButton>(&rig.window, "INVIA"));
    return rig.board.waitForReceived(before + kSettingsCommandSize)
        && rig.board.received().mid(before).startsWith("$$");
}

QStringList systemPortNames()
{
    QStringList names;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        names << port.portName();
    return names;
}

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void openAndClose();
    void emptyPortList();
    void failedOpenThenGoodOpen();
    void buttonFollowsPort_data();
    void buttonFollowsPort();
    void pollPerPress_data();
    void pollPerPress();
    void nothingWhileClosed_data();
    void nothingWhileClosed();
    void periodicPolls_data();
    void periodicPolls();
    void pollPeriodTakenAtPress();
    void noPollAfterFrame();
    void settingsCommand_data();
    void settingsCommand();
    void lostBoard();
    void closingWindowClosesPort();
    void openFailureShown_data();
    void openFailureShown();
    void settingsWithPortClosed();
    void unansweredPolls_data();
    void unansweredPolls();
    void answeringBoardIsNotTold();
    void portListRefilled_data();
    void portListRefilled();
    void refreshedPortList_data();
    void refreshedPortList();
};

void TestSerialLink::openAndClose()
{
    Rig rig;
    QVERIFY(rig.setUpConnected());
    QCOMPARE(rig.messages.textsFrom(connectSlot),
             QStringList({"Seriale aperta", "Lunghezza frame 8 bit ok."}));
    QVERIFY(rig.connect->isChecked());

    // The window's end of the line runs at 38400 baud in both directions,
    // eight data bits: written out here, apart from the program's kBaudRate,
    // so that a change to it shows.
    termios line{};
    QVERIFY(rig.board.lineSettings(&line));
    QCOMPARE(cfgetispeed(&line), speed_t(B38400));
    QCOMPARE(cfgetospeed(&line), speed_t(B38400));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));

    // Open for reading and writing: a poll goes out, a frame comes in.
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
    QCOMPARE(rig.board.takeReceived(), QByteArray("@@"));
    auto *tardu = child<QLCDNumber>(&rig.window, "Tardu");
    QVERIFY(tardu);
    QVERIFY(rig.board.send(frameBytes({-1, -2, -3, -4}, 7)));
    QTRY_COMPARE_WITH_TIMEOUT(tardu->value(), 7.0, 5000);

    rig.messages.clear();
    rig.click(rig.connect);
    QCOMPARE(rig.messages.textsFrom(connectSlot), QStringList({"Seriale chiusa"}));
    QVERIFY(!rig.connect->isChecked());

    // Closed: nothing is read any more. The frame stays on the line until
    // a port of the test's own, opened there, reads it; by then the window,
    // in the same event loop, would have had its turn.
    const QByteArray unread = frameBytes({-1, -2, -3, -4}, 8);
    QVERIFY(rig.board.send(unread));
    QSerialPort other(rig.board.portName());
    QVERIFY2(other.open(QIODevice::ReadOnly), qPrintable(other.errorString()));
    QTRY_COMPARE_WITH_TIMEOUT(other.bytesAvailable(), qint64(kFrameSize), 5000);
    QCOMPARE(other.readAll(), unread);
    QCOMPARE(tardu->value(), 7.0);
}

void TestSerialLink::emptyPortList()
{
    Rig rig;
    QVERIFY(rig.setUp());
    auto *ports = child<QComboBox>(&rig.window, "combo_serial");
    QVERIFY(ports);
    ports->clear();

    for (int press = 0; press < 2; ++press) {
        rig.click(rig.connect);
        QVERIFY2(!rig.connect->isChecked(), "pressed in with no port open");
    }
    QVERIFY(rig.messages.textsFrom(connectSlot).isEmpty());

    // Still closed: a later press with a port chosen opens it, where a port
    // left open would have been closed instead.
    QVERIFY(rig.connectBoard());
    QCOMPARE(rig.messages.textsFrom(connectSlot).value(0), QStringLiteral("Seriale aperta"));
}

void TestSerialLink::failedOpenThenGoodOpen()
{
    Rig rig;
    QVERIFY(rig.setUp());
    auto *ports = child<QComboBox>(&rig.window, "combo_serial");
    QVERIFY(ports);
    ports->addItem(QStringLiteral("/dev/aspirello-no-such-port"));
    ports->setCurrentIndex(ports->count() - 1);

    rig.click(rig.connect);
    QVERIFY(!rig.connect->isChecked());
    QVERIFY(rig.messages.textsFrom(connectSlot).isEmpty());

    QVERIFY(rig.connectBoard());
    QCOMPARE(rig.messages.textsFrom(connectSlot),
             QStringList({"Seriale aperta", "Lunghezza frame 8 bit ok."}));
    QVERIFY(rig.connect->isChecked());
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
}

// A sequence of ports chosen before each click: "good" is the board, "bad"
// a path that does not exist, "empty" no item at all. The port must end up
// open exactly after each click on "good" that follows a closed state.
void TestSerialLink::buttonFollowsPort_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::newRow("open close") << QStringList{"good", "good"};
    QTest::newRow("bad bad good good") << QStringList{"bad", "bad", "good", "good"};
    QTest::newRow("bad good bad") << QStringList{"bad", "good", "bad", "bad"};
    QTest::newRow("empty good empty") << QStringList{"empty", "good", "empty", "empty"};
    QTest::newRow("good twice over") << QStringList{"good", "good", "good", "good"};
}

void TestSerialLink::buttonFollowsPort()
{
    QFETCH(QStringList, choices);
    Rig rig;
    QVERIFY(rig.setUp());
    auto *ports = child<QComboBox>(&rig.window, "combo_serial");
    QVERIFY(ports);

    bool open = false;
    for (int i = 0; i < choices.size(); ++i) {
        ports->clear();
        if (choices[i] == "good")
            ports->addItem(rig.board.portName());
        else if (choices[i] == "bad")
            ports->addItem(QStringLiteral("/dev/aspirello-no-such-port"));
        rig.messages.clear();
        rig.click(rig.connect);

        const QStringList lines = rig.messages.textsFrom(connectSlot);
        if (open) {
            QCOMPARE(lines, QStringList({"Seriale chiusa"}));
            open = false;
        } else if (choices[i] == "good") {
            QCOMPARE(lines.value(0), QStringLiteral("Seriale aperta"));
            open = true;
        } else {
            QVERIFY(lines.isEmpty());
        }
        QVERIFY2(rig.connect->isChecked() == open,
                 qPrintable(QStringLiteral("after click %1").arg(i + 1)));
    }
}

void TestSerialLink::pollPerPress_data()
{
    QTest::addColumn<int>("presses");
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void TestSerialLink::pollPerPress()
{
    QFETCH(int, presses);
    GatedRig rig;
    QVERIFY(rig.setUpConnected());

    for (int i = 0; i < presses; ++i)
        rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2 * presses));
    QVERIFY(waitUntilToldSilent(rig));
    QCOMPARE(rig.board.received(), QByteArray("@@").repeated(presses));
    QCOMPARE(rig.gate.ticks, 0);
}

void TestSerialLink::nothingWhileClosed_data()
{
    QTest::addColumn<bool>("everOpened");
    QTest::newRow("never opened") << false;
    QTest::newRow("after a close") << true;
}

// "Ricevi" with check_timer ticked and the port closed starts no timer: once
// the port is open, no poll arrives.
void TestSerialLink::nothingWhileClosed()
{
    QFETCH(bool, everOpened);
    GatedRig rig;
    QVERIFY(rig.setUp());
    if (everOpened) {
        QVERIFY(rig.connectBoard());
        rig.click(rig.connect);
        QVERIFY(!rig.connect->isChecked());
    }
    rig.periodic->setChecked(true);
    rig.period->setValue(10);
    rig.click(rig.receive);

    if (everOpened)
        rig.click(rig.connect);
    else
        QVERIFY(rig.connectBoard());
    QVERIFY(rig.connect->isChecked());
    // One press with check_timer clear polls once; a timer started by the
    // first press would go on polling (clearing check_timer stops none).
    rig.periodic->setChecked(false);
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
    QVERIFY(waitUntilToldSilent(rig));
    QCOMPARE(rig.board.received(), QByteArray("@@"));
    QCOMPARE(rig.gate.ticks, 0);
}

void TestSerialLink::periodicPolls_data()
{
    QTest::addColumn<int>("periodMs");
    QTest::newRow("10 ms") << 10;
    QTest::newRow("20 ms") << 20;
    QTest::newRow("50 ms") << 50;
}

// Every poll on the line is accounted for by a timer tick or a press: none
// at the press that starts the timer, one per tick, the ticks going on after
// check_timer is cleared, and one extra for a press with it clear.
void TestSerialLink::periodicPolls()
{
    QFETCH(int, periodMs);
    GatedRig rig;
    QVERIFY(rig.setUpConnected());

    rig.periodic->setChecked(true);
    rig.period->setValue(periodMs);
    rig.click(rig.receive);
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= 3, 5000);
    QCOMPARE(rig.gate.interval, periodMs);

    rig.periodic->setChecked(false);
    const int ticksAtClear = rig.gate.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= ticksAtClear + 3, 5000);

    rig.click(rig.receive);
    const int ticksAtExtra = rig.gate.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= ticksAtExtra + 2, 5000);
    QCOMPARE(rig.gate.interval, periodMs);

    rig.gate.held = true;
    const int expected = 2 * (rig.gate.ticks + 1);
    QVERIFY(rig.board.waitForReceived(expected));
    QVERIFY(sendSettingsAfterTheRest(rig));
    QCOMPARE(rig.board.received().size(), expected + kSettingsCommandSize);
    QCOMPARE(rig.board.received().left(expected), QByteArray(expected, '@'));
}

// The period is read when "Ricevi" is pressed, and a new press restarts the
// timer with the period then shown.
void TestSerialLink::pollPeriodTakenAtPress()
{
    GatedRig rig;
    QVERIFY(rig.setUpConnected());

    rig.periodic->setChecked(true);
    rig.period->setValue(20);
    rig.click(rig.receive);
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= 1, 5000);
    rig.period->setValue(40);
    int ticks = rig.gate.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= ticks + 2, 5000);
    QCOMPARE(rig.gate.interval, 20);

    rig.click(rig.receive);
    ticks = rig.gate.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= ticks + 1, 5000);
    QCOMPARE(rig.gate.interval, 40);

    // Closing and opening the port leaves the timer running.
    rig.click(rig.connect);
    rig.click(rig.connect);
    QVERIFY(rig.connect->isChecked());
    rig.board.takeReceived();
    QVERIFY(rig.board.waitForReceived(4));
}

void TestSerialLink::noPollAfterFrame()
{
    Rig rig;
    QVERIFY(rig.setUpConnected());
    auto *tardu = child<QLCDNumber>(&rig.window, "Tardu");
    QVERIFY(tardu);

    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
    QVERIFY(rig.board.send(frameBytes({-20, -21, -22, -23}, 15)));
    QTRY_COMPARE_WITH_TIMEOUT(tardu->value(), 15.0, 5000);
    QVERIFY(sendSettingsAfterTheRest(rig));
    QCOMPARE(rig.board.received().size(), 2 + kSettingsCommandSize);
    QCOMPARE(rig.board.received().left(2 + 2), QByteArray("@@$$"));
}

void TestSerialLink::settingsCommand_data()
{
    QTest::addColumn<int>("innerLoops");
    QTest::addColumn<double>("lowPass");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");
    QTest::newRow("defaults 10 / 0.5")
        << 10 << 0.5 << hex("2424000020410000003F") << "ciclo 10, filtro 0,50000";
    QTest::newRow("0.1 rounded to single")
        << 10 << 0.1 << hex("242400002041CDCCCC3D") << "ciclo 10, filtro 0,10000";
    QTest::newRow("five decimals") << 10 << 0.12345 << hex("2424000020415BD3FC3D")
                                   << "ciclo 10, filtro 0,12345";
    QTest::newRow("smallest step shown")
        << 1 << 0.00001 << hex("24240000803FACC52737") << "ciclo 1, filtro 0,00001";
    QTest::newRow("largest") << 1000 << 1.0 << hex("242400007A440000803F")
                             << "ciclo 1000, filtro 1,00000";
    QTest::newRow("no filtering") << 1 << 0.0 << hex("24240000803F00000000")
                                  << "ciclo 1, filtro 0,00000";
}

void TestSerialLink::settingsCommand()
{
    QFETCH(int, innerLoops);
    QFETCH(double, lowPass);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    // The status bar speaks Italian whatever the system's language, and a
    // language that groups thousands leaves the count as it is.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restoreLocale = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    Rig rig;
    QVERIFY(rig.setUp());
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    QVERIFY(status);
    auto *loops = child<QSpinBox>(&rig.window, "MedInt");
    auto *filter = child<QDoubleSpinBox>(&rig.window, "filtroLp");
    auto *invia = child<QPushButton>(&rig.window, "INVIA");
    QVERIFY(loops && filter && invia);
    QVERIFY(rig.connectBoard());

    loops->setValue(innerLoops);
    filter->setValue(lowPass);
    rig.click(invia);
    QVERIFY(rig.board.waitForReceived(bytes.size()));
    QCOMPARE(rig.board.takeReceived().toHex(' '), bytes.toHex(' '));
    QCOMPARE(status->currentMessage(), "Impostazioni inviate: " + told);

    // The button's pressed look does not matter: a second click sends again.
    rig.click(invia);
    QVERIFY(rig.board.waitForReceived(bytes.size()));
    // Once: a poll after it comes right behind it.
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(bytes.size() + 2));
    QCOMPARE(rig.board.received().toHex(' '), (bytes + "@@").toHex(' '));
}

// The board's end of the line closes while the port is open and polling:
// the port is closed and reported, the button released, and everything
// measured so far stays; a new line opens with "Aprila" and measuring goes
// on with the same averages and log.
void TestSerialLink::lostBoard()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());

    GatedRig rig;
    QVERIFY(rig.setUpConnected());
    auto *a = child<QLCDNumber>(&rig.window, "A");
    auto *am = child<QLCDNumber>(&rig.window, "AM");
    auto *tardu = child<QLCDNumber>(&rig.window, "Tardu");
    auto *save = child<QPushButton>(&rig.window, "button_startSampling");
    QVERIFY(a && am && tardu && save);

    QVERIFY(rig.board.send(frameBytes({-10, -11, -12, -13}, 1)));
    QTRY_COMPARE_WITH_TIMEOUT(tardu->value(), 1.0, 5000);
    rig.periodic->setChecked(true);
    rig.period->setValue(10);
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(4));

    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    QVERIFY(status);
    rig.board.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.count("Seriale persa"), 1, 5000);
    QVERIFY(!rig.connect->isChecked());
    QCOMPARE(status->currentMessage(), QStringLiteral("Seriale persa"));
    QCOMPARE(rig.messages.count("Seriale chiusa"), 0);

    // Ticks on the closed port do no harm.
    const int ticksAtLoss = rig.gate.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(rig.gate.ticks >= ticksAtLoss + 5, 5000);
    QCOMPARE(a->value(), -10.0);
    QCOMPARE(am->value(), -10.0);
    QCOMPARE(tardu->value(), 1.0);

    // The board is back on a new line: "Aprila" opens it (the port was
    // closed, or this click would have closed it) and polls reach it.
    TestBoard board;
    QVERIFY(plugInSilent(board));
    QVERIFY(connectBoard(rig.window, board.portName()));
    QCOMPARE(rig.messages.textsFrom(connectSlot),
             QStringList({"Seriale aperta", "Lunghezza frame 8 bit ok.", "Seriale aperta",
                          "Lunghezza frame 8 bit ok."}));
    QVERIFY(rig.connect->isChecked());
    QVERIFY(board.waitForReceived(4));
    QVERIFY(board.received().startsWith("@@@@"));

    // Averages and log carried over the loss.
    QVERIFY(board.send(frameBytes({-20, -21, -22, -23}, 2)));
    QTRY_COMPARE_WITH_TIMEOUT(tardu->value(), 2.0, 5000);
    QCOMPARE(a->value(), -20.0);
    QCOMPARE(am->value(), -15.0);

    QCOMPARE(rig.messages.count("Seriale persa"), 1);
    QVERIFY(status->currentMessage().isEmpty());

    rig.click(save);
    const QStringList files = QDir().entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QFile file(files.first());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 2);
}

// A port held by one window cannot be opened by another; destroying the
// first window closes it.
void TestSerialLink::closingWindowClosesPort()
{
    TestBoard board;
    MessageCapture messages;
    QVERIFY(plugInSilent(board));
    auto first = std::make_unique<MainWindow>();
    QVERIFY(connectBoard(*first, board.portName()));
    QCOMPARE(messages.count("Seriale aperta"), 1);

    MainWindow second;
    auto *connect = child<QPushButton>(&second, "push_serial_connect");
    QVERIFY(connect);
    QVERIFY(!connectBoard(second, board.portName()));
    QCOMPARE(messages.count("Seriale aperta"), 1);
    QVERIFY(!connect->isChecked());

    first.reset();
    QTest::mouseClick(connect, Qt::LeftButton);
    QCOMPARE(messages.count("Seriale aperta"), 2);
    QVERIFY(connect->isChecked());
}

// A port that does not open says why in the status bar, in Italian; the
// message goes once a port opens.
void TestSerialLink::openFailureShown_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not found") << "not found"
                               << ": porta non trovata";
    QTest::newRow("in use") << "in use"
                            << ": porta già in uso";
    QTest::newRow("no permission") << "no permission"
                                   << ": permesso negato (serve il gruppo dialout)";
    QTest::newRow("no port listed") << "no port"
                                    << "";
}

void TestSerialLink::openFailureShown()
{
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    Rig rig;
    QVERIFY(rig.setUp());
    auto *ports = child<QComboBox>(&rig.window, "combo_serial");
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    QVERIFY(ports && status);
    TestBoard other;
    QVERIFY(plugInSilent(other));
    QSerialPort holder(other.portName());
    const QString port = cause == "not found" ? "/dev/aspirello-no-such-port" : other.portName();
    QVERIFY(cause != "in use" || holder.open(QIODevice::ReadWrite));
    // Root passes any permission bits, so then the click runs as nobody.
    const bool asNobody = cause == "no permission" && geteuid() == 0;
    QVERIFY(cause != "no permission" || chmod(QFile::encodeName(port).constData(), 0) == 0);
    ports->clear();
    if (cause != "no port")
        ports->addItem(port);

    QVERIFY(!asNobody || seteuid(65534) == 0);
    rig.click(rig.connect);
    QVERIFY(!asNobody || seteuid(0) == 0);
    QVERIFY(!rig.connect->isChecked());
    QVERIFY(rig.messages.textsFrom(connectSlot).isEmpty());
    QCOMPARE(status->currentMessage(),
             cause == "no port"
                 ? QStringLiteral("Impossibile aprire la seriale: nessuna porta scelta")
                 : "Impossibile aprire " + port + reason);
    QVERIFY(rig.connectBoard());
    QVERIFY(status->currentMessage().isEmpty());
}

// "Invia" with the port closed sends nothing and says so; once the port is
// open it sends and says what.
void TestSerialLink::settingsWithPortClosed()
{
    Rig rig;
    QVERIFY(rig.setUp());
    auto *invia = child<QPushButton>(&rig.window, "INVIA");
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    QVERIFY(invia && status);

    rig.click(invia);
    QCOMPARE(status->currentMessage(),
             QStringLiteral("Impostazioni non inviate: la porta non è aperta"));
    QVERIFY(rig.connectBoard());
    QCOMPARE(status->currentMessage(),
             QStringLiteral("Impostazioni non inviate: la porta non è aperta"));
    rig.click(invia);
    QVERIFY(rig.board.waitForReceived(kSettingsCommandSize));
    QCOMPARE(rig.board.received(), hex("2424000020410000003F"));
    QCOMPARE(status->currentMessage(),
             QStringLiteral("Impostazioni inviate: ciclo 10, filtro 0,50000"));

    rig.click(rig.connect);
    rig.click(invia);
    QCOMPARE(status->currentMessage(),
             QStringLiteral("Impostazioni non inviate: la porta non è aperta"));
    // Nor is it sent later: opened again, the first bytes are a poll's.
    rig.click(rig.connect);
    QVERIFY(rig.connect->isChecked());
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(kSettingsCommandSize + 2));
    QCOMPARE(rig.board.received(), hex("2424000020410000003F") + "@@");
}

// One poll that gets no frame back is told about a second later, without
// any further event, naming the port: in one set of words when nothing came
// back, in another when bytes came that formed no frame. The debug lines
// stay as they were, and the first frame takes the message back.
void TestSerialLink::unansweredPolls_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("cleared");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("told");
    const QString silent = QStringLiteral("Nessuna risposta dalla scheda su %1");
    const QString garbled = QStringLiteral("Dati non riconosciuti su %1: non sembra la scheda");
    QTest::newRow("nothing comes back") << QByteArray() << QByteArray() << QStringList() << silent;
    QTest::newRow("a few bytes") << QByteArray("OK\n") << QByteArray(18, 'x')
                                 << QStringList{"Ready read: 3"} << garbled;
    QTest::newRow("a text too long for a frame")
        << QByteArray("ATZ\r\nERROR unknown command\r\n") << QByteArray()
        << QStringList{"Ready read: 28", "Errore azzero"} << garbled;
}

void TestSerialLink::unansweredPolls()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, cleared);
    QFETCH(QStringList, lines);
    QFETCH(QString, told);
    const QString readSlot = QStringLiteral("void MainWindow::serial_ready_read()");
    Rig rig;
    QVERIFY(rig.setUp());
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    auto *tardu = child<QLCDNumber>(&rig.window, "Tardu");
    QVERIFY(status && tardu);
    QVERIFY(rig.connectBoard());

    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
    if (!answer.isEmpty()) {
        QVERIFY(rig.board.send(answer));
        QTRY_COMPARE_WITH_TIMEOUT(rig.messages.textsFrom(readSlot).size(), lines.size(), 5000);
    }
    QVERIFY(status->currentMessage().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(status->currentMessage(), told.arg(shortName(rig.board)), 5000);
    QCOMPARE(rig.messages.textsFrom(readSlot), lines);

    // Bytes still waiting are thrown away with the rest of a run too long,
    // which is no frame either; then a frame comes.
    if (!cleared.isEmpty()) {
        QVERIFY(rig.board.send(cleared));
        QVERIFY(QTest::qWaitFor([&] { return rig.messages.count("Errore azzero") == 1; }, 5000));
        QCOMPARE(status->currentMessage(), told.arg(shortName(rig.board)));
    }
    QVERIFY(rig.board.send(frameBytes({-1, -2, -3, -4}, 9)));
    QTRY_COMPARE_WITH_TIMEOUT(tardu->value(), 9.0, 5000);
    QVERIFY(status->currentMessage().isEmpty());
}

// A board that answers every poll is never told as silent; when it falls
// silent it is, once, and its next frame takes that back. Closing the port
// takes it back too, and a port opened again starts with nothing owed.
void TestSerialLink::answeringBoardIsNotTold()
{
    Rig rig;
    QVERIFY(rig.setUp());
    auto *status = child<QStatusBar>(&rig.window, "statusBar");
    QVERIFY(status);
    QSignalSpy told(status, &QStatusBar::messageChanged);
    rig.board.setSilent(false);
    QVERIFY(rig.connectBoard());
    rig.periodic->setChecked(true);
    // Polls at the default period: at the fastest, a board answering in the
    // test's own event loop can fall into step with the poll timer so that
    // its replies meet on the line two by two, and are rightly discarded.
    rig.period->setValue(kDefaultPollMs);
    rig.click(rig.receive);
    // Well past the time an unanswered poll is told after.
    QVERIFY(QTest::qWaitFor([&] { return acceptedFrames(rig.window) >= 100; }, 20000));
    QVERIFY2(status->currentMessage().isEmpty(), qPrintable(status->currentMessage()));
    QCOMPARE(told.count(), 0);

    const QString silent = "Nessuna risposta dalla scheda su " + shortName(rig.board);
    rig.board.setSilent(true);
    QTRY_COMPARE_WITH_TIMEOUT(status->currentMessage(), silent, 5000);
    rig.board.setSilent(false);
    QTRY_VERIFY_WITH_TIMEOUT(status->currentMessage().isEmpty(), 5000);

    rig.board.setSilent(true);
    QTRY_COMPARE_WITH_TIMEOUT(status->currentMessage(), silent, 5000);
    // Told once: what the user does next is not covered again at each poll.
    auto *invia = child<QPushButton>(&rig.window, "INVIA");
    QVERIFY(invia);
    rig.click(invia);
    const quint64 polls = rig.board.pollsReceived();
    QVERIFY(QTest::qWaitFor([&] { return rig.board.pollsReceived() >= polls + 10; }, 5000));
    const QString sent = QStringLiteral("Impostazioni inviate: ciclo 10, filtro 0,50000");
    QCOMPARE(status->currentMessage(), sent);
    // Frames take back only what was said about the silence.
    rig.board.setSilent(false);
    const int frames = acceptedFrames(rig.window);
    QVERIFY(QTest::qWaitFor([&] { return acceptedFrames(rig.window) >= frames + 10; }, 10000));
    QCOMPARE(status->currentMessage(), sent);

    rig.board.setSilent(true);
    QTRY_COMPARE_WITH_TIMEOUT(status->currentMessage(), silent, 5000);
    rig.click(rig.connect);
    QVERIFY(!rig.connect->isChecked());
    QVERIFY(status->currentMessage().isEmpty());
    rig.click(rig.connect);
    QVERIFY(rig.connect->isChecked());
    QVERIFY(status->currentMessage().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(status->currentMessage(), silent, 5000);
}

// The list is looked up again as it opens, by mouse or key: the system's
// ports come back after the entries were taken away, and the port the
// program added itself (the demo's) stays, still chosen.
void TestSerialLink::portListRefilled_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("mouse") << 0 << 0;
    QTest::newRow("F4") << int(Qt::Key_F4) << 0;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    QTest::newRow("Space") << int(Qt::Key_Space) << 0;
}

void TestSerialLink::portListRefilled()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Rig rig;
    QVERIFY(rig.setUp());
    auto *ports = child<QComboBox>(&rig.window, "combo_serial");
    QVERIFY(ports);
    QCOMPARE(items(ports), systemPortNames());

    ports->clear();
    offerBoardPort(rig.window, rig.board.portName());
    ports->addItem(QStringLiteral("ttyAspirelloAdded"));
    ports->setCurrentIndex(0);
    QCOMPARE(items(ports), QStringList({shortName(rig.board), "ttyAspirelloAdded"}));

    // A key that does not open the list looks nothing up.
    ports->setFocus();
    QTest::keyClick(ports, Qt::Key_Escape);
    QCOMPARE(items(ports).size(), 2);

    if (key == 0)
        QTest::mouseClick(ports, Qt::LeftButton);
    else
        QTest::keyClick(ports, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const QStringList expected = systemPortNames()
        + QStringList{shortName(rig.board), "ttyAspirelloAdded"};
    QCOMPARE(items(ports), expected);
    QCOMPARE(ports->currentText(), shortName(rig.board));
    QTRY_VERIFY(ports->view()->isVisible());
    ports->hidePopup();

    // The entry kept chosen is the port "Aprila" opens.
    rig.click(rig.connect);
    QVERIFY(rig.connect->isChecked());
    rig.click(rig.receive);
    QVERIFY(rig.board.waitForReceived(2));
}

// What the list offers after a fresh look at the system's ports.
void TestSerialLink::refreshedPortList_data()
{
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("listedBefore");
    QTest::addColumn<QStringList>("listedNow");
    QTest::addColumn<QStringList>("offered");
    using L = QStringList;
    QTest::newRow("first look") << L{} << L{} << L{"ttyS0", "ttyUSB0"} << L{"ttyS0", "ttyUSB0"};
    QTest::newRow("board plugged in")
        << L{"ttyS0"} << L{"ttyS0"} << L{"ttyS0", "ttyUSB0"} << L{"ttyS0", "ttyUSB0"};
    QTest::newRow("board pulled out")
        << L{"ttyS0", "ttyUSB0"} << L{"ttyS0", "ttyUSB0"} << L{"ttyS0"} << L{"ttyS0"};
    QTest::newRow("system's order") << L{"ttyS0", "ttyUSB0"} << L{"ttyS0", "ttyUSB0"}
                                    << L{"ttyUSB0", "ttyS0"} << L{"ttyUSB0", "ttyS0"};
    QTest::newRow("added entry kept") << L{"ttyS0", "pts/3"} << L{"ttyS0"} << L{"ttyS0", "ttyACM0"}
                                      << L{"ttyS0", "ttyACM0", "pts/3"};
    QTest::newRow("added entries keep their order")
        << L{"pts/3", "ttyS0", "pts/1"} << L{"ttyS0"} << L{} << L{"pts/3", "pts/1"};
    QTest::newRow("added entry the system lists now")
        << L{"ttyACM0"} << L{} << L{"ttyACM0"} << L{"ttyACM0"};
    QTest::newRow("each name once") << L{"pts/3", "pts/3"} << L{} << L{} << L{"pts/3"};
    QTest::newRow("no ports at all") << L{} << L{} << L{} << L{};
}

void TestSerialLink::refreshedPortList()
{
    QFETCH(QStringList, shown);
    QFETCH(QStringList, listedBefore);
    QFETCH(QStringList, listedNow);
    QFETCH(QStringList, offered);
    QCOMPARE(::refreshedPortList(shown, listedBefore, listedNow), offered);
}

QTEST_MAIN(TestSerialLink)
#include "test_seriallink.moc"
