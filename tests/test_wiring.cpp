// Every way into the window reaches its slot: each widget bound by object
// name, the port's readyRead and the poll timer's timeout. Each row drives
// the real widget and looks for the slot's effect.
#include "mainwindow.h"
#include "scratchdirectory.h"
#include "windowrig.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLCDNumber>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

bool sendFrame(TestBoard &board, QLCDNumber *tardu, float reading, float cycle)
{
    return board.send(frameBytes({reading, reading, reading, reading}, cycle))
        && QTest::qWaitFor([&] { return tardu->value() == double(cycle); }, 5000);
}

QStringList logFiles(const char *prefix)
{
    return QDir().entryList({QString::fromLatin1(prefix) + '*'}, QDir::Files);
}

} // namespace

class TestWiring : public QObject
{
    Q_OBJECT

private slots:
    void entry_data();
    void entry();
};

void TestWiring::entry_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way :
         {"push_serial_connect", "push_start_data", "INVIA", "Media", "button_startSampling",
          "button_startSampling_2", "button_startSampling_3", "readyRead", "timeout"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

void TestWiring::entry()
{
    QFETCH(QString, way);
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    WindowRig rig;
    MainWindow &window = rig.window;
    TestBoard &board = rig.board;
    MessageCapture &messages = rig.messages;
    QVERIFY(rig.showWithBoard());
    auto *tardu = child<QLCDNumber>(&window, "Tardu");
    auto *am = child<QLCDNumber>(&window, "AM");
    QVERIFY(tardu && am);

    QVERIFY(rig.connectBoard());
    const QString connectSlot = QStringLiteral("void MainWindow::on_push_serial_connect_clicked()");
    QVERIFY(messages.contains("Seriale aperta", connectSlot));
    if (way == "push_serial_connect")
        return;

    const auto click = [&](const char *name) {
        auto *button = child<QPushButton>(&window, name);
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        return button != nullptr;
    };

    if (way == "push_start_data") {
        QVERIFY(click("push_start_data"));
        QVERIFY(board.waitForReceived(2));
        QCOMPARE(board.received(), QByteArray("@@"));
    } else if (way == "INVIA") {
        QVERIFY(click("INVIA"));
        QVERIFY(board.waitForReceived(10));
        QVERIFY(board.received().startsWith("$$"));
    } else if (way == "Media") {
        auto *media = child<QSpinBox>(&window, "Media");
        QVERIFY(media);
        QVERIFY(sendFrame(board, tardu, -10.f, 1.f));
        QTest::keyClick(media, Qt::Key_Up);
        QCOMPARE(media->value(), 11);
        // The averages were emptied: the next mean is that frame alone.
        QVERIFY(sendFrame(board, tardu, -20.f, 2.f));
        QCOMPARE(am->value(), -20.0);
    } else if (way == "button_startSampling" || way == "button_startSampling_3") {
        QVERIFY(sendFrame(board, tardu, -10.f, 1.f));
        QVERIFY(click(way.toLatin1().constData()));
        const char *prefix = way == "button_startSampling" ? "log_A" : "TOP_log_A";
        QCOMPARE(logFiles(prefix).size(), 1);
        QFile file(logFiles(prefix).first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("-10.000000,"));
    } else if (way == "button_startSampling_2") {
        QVERIFY(sendFrame(board, tardu, -10.f, 1.f));
        QVERIFY(click("button_startSampling_2"));
        QVERIFY(click("button_startSampling"));
        QCOMPARE(logFiles("log_A").size(), 1);
        QCOMPARE(QFileInfo(logFiles("log_A").first()).size(), qint64(0));
    } else if (way == "readyRead") {
        QVERIFY(sendFrame(board, tardu, -10.f, 1.f));
        QVERIFY(messages.contains(QStringLiteral("Ready read: %1").arg(kFrameSize),
                                  "void MainWindow::serial_ready_read()"));
    } else if (way == "timeout") {
        auto *periodic = child<QCheckBox>(&window, "check_timer");
        QVERIFY(periodic);
        periodic->setChecked(true);
        QVERIFY(click("push_start_data"));
        QVERIFY(board.waitForReceived(6));
        QCOMPARE(board.received().left(6), QByteArray("@@@@@@"));
    } else {
        QFAIL("unknown row");
    }
}

QTEST_MAIN(TestWiring)
#include "test_wiring.moc"
