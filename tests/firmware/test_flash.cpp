// make flash's script refuses clearly, before avrdude, when the board's
// port is not given, not there or held by another program.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

class TestFlash : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
};

void TestFlash::refusals_data()
{
    QTest::addColumn<QString>("port"); // "busy" for a port another program holds
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("no port given") << ""
                                   << "115200" << 2 << "make flash PORT=/dev/ttyUSB0";
    QTest::newRow("port not there")
        << "/dev/ttyUSB99"
        << "115200" << 1 << "there is no /dev/ttyUSB99: is the board plugged in?";
    QTest::newRow("port held") << "busy"
                               << "115200" << 1 << "is in use by another program";
    QTest::newRow("baud not a number") << "/dev/ttyUSB0"
                                       << "fast" << 2 << "FLASH_BAUD must be a number";
}

void TestFlash::refusals()
{
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(int, exitCode);
    QFETCH(QString, says);

    // A port held the way the gauge holds its own: opened exclusively
    // (which root may still open) and a lock file naming the holder.
    int master = -1;
    int slave = -1;
    char name[256] = {};
    QScopedPointer<QFile> lock;
    if (port == QLatin1String("busy")) {
        QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
        QCOMPARE(ioctl(slave, TIOCEXCL), 0);
        port = QString::fromLocal8Bit(name);
        lock.reset(new QFile(QStringLiteral("/tmp/LCK..") + QFileInfo(port).fileName()));
        QVERIFY(lock->open(QIODevice::WriteOnly));
        lock->write(QByteArray::number(QCoreApplication::applicationPid()) + "\naspirello\n");
        lock->close();
    }
    QTemporaryDir dir;
    const QString hex = dir.filePath(QStringLiteral("board.hex"));
    QFile file(hex);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(":00000001FF\n");
    file.close();

    QProcess flash;
    flash.start(QStringLiteral(FLASH_SCRIPT), {hex, port, baud});
    QVERIFY(flash.waitForFinished(20000));
    const QString output = QString::fromLocal8Bit(flash.readAllStandardError());
    if (master >= 0) {
        lock->remove();
        ::close(slave);
        ::close(master);
    }
    QCOMPARE(flash.exitCode(), exitCode);
    QVERIFY2(output.contains(says), qPrintable(output));
    QVERIFY2(!output.contains(QLatin1String("avrdude")), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestFlash)
#include "test_flash.moc"
