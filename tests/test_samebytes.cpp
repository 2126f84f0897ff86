// What the program puts out must not depend on the Qt it is built with: a
// fixed session through the real window, over a pseudo-terminal board, is
// compared byte for byte with files in tests/golden made by the Qt 5 build.
// The session: settings commands on the line, frames of ordinary and
// extreme values (signed zero, subnormal, the largest float, NaN, infinity)
// onto the displays, the log file they give, and the debug lines.
//
// ASPIRELLO_UPDATE_GOLDEN=1 rewrites the golden files from a Qt 5 build.
#include "floatbits.h"
#include "measure/readings.h"
#include "windowrig.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLCDNumber>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// Frames, each four readings; the cycle time is the frame's number. The
// averages run over three readings, so that a NaN or an infinity leaves
// them again two frames later.
const std::array<float, kCylinderCount> kReadings[] = {
    {101.3f, 100.0f, 99.5f, -3.25f},
    {-20.5f, -21.25f, -19.75f, -20.0f},
    {0.0f, -0.0f, 0.1f, -0.1f},
    {1e-45f, -1.17549435e-38f, 0.0000005f, -0.0000004f},
    {3.40282347e38f, -3.40282347e38f, 16777217.0f, 123456.789f},
    {floatFromBits(0x7FC00000u), floatFromBits(0xFFC00000u), floatFromBits(0x7F800001u), -25.5337f},
    {kInf, -kInf, -49.99f, 1.0f},
    {-26.7824f, -23.7881f, -24.6282f, -50.5f},
    {2147483648.0f, -2147483904.0f, 0.999999f, -0.999999f},
    {-24.0f, -24.5f, -23.5f, -25.0f},
};

// The settings as set in "N° letture interne" and "Filtro Low-Pass".
const struct
{
    int innerLoops;
    double coefficient;
} kSettings[] = {{10, 0.5}, {1, 0.0}, {1000, 1.0}, {333, 0.1}, {7, 0.00001}, {999, 0.33333}};

const char *const kDisplays[] = {"A",  "B",  "C",  "D",  "Tardu", "AD",  "BD",  "CD", "DD",
                                 "AM", "BM", "CM", "DM", "AMD",   "BMD", "CMD", "DMD"};
const char *const kBars[] = {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"};

QString hexBits(float value)
{
    return QString::asprintf("%08x", static_cast<unsigned>(bitsOf(value)));
}

// A display's value written independently of Qt: the C library's exact
// hexadecimal form.
QString exact(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return QString::fromLatin1(text);
}

bool updating()
{
    return qEnvironmentVariableIntValue("ASPIRELLO_UPDATE_GOLDEN") == 1;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot be read: " + path.toUtf8() + ">";
    return file.readAll();
}

// Compares with the golden file, or rewrites it when asked to.
bool matchesGolden(const QByteArray &actual, const char *name, QByteArray *message)
{
    const QString path = QStringLiteral(GOLDEN_DIR "/") + QLatin1String(name);
    if (updating()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(actual) != actual.size()) {
            *message = "cannot write " + path.toUtf8();
            return false;
        }
        return true;
    }
    const QByteArray expected = readFile(path);
    if (actual == expected)
        return true;
    int at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    *message = QByteArray(name) + " differs from byte " + QByteArray::number(at) + ": got \""
        + actual.mid(at, 60).toPercentEncoding(" ,.-:\"") + "\", golden \""
        + expected.mid(at, 60).toPercentEncoding(" ,.-:\"") + '"';
    return false;
}

#define COMPARE_GOLDEN(actual, name)                                                                 \
    do {                                                                                             \
        QByteArray message;                                                                          \
        QVERIFY2(matchesGolden(actual, name, &message), message.constData());                        \
    } while (false)

} // namespace

class TestSameBytes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void session();

private:
    QTemporaryDir directory;
};

void TestSameBytes::initTestCase()
{
    if (updating() && QT_VERSION_MAJOR != 5)
        QFAIL("the golden files are made by the Qt 5 build");
    QVERIFY(directory.isValid());
    QVERIFY(QDir::setCurrent(directory.path()));
}

void TestSameBytes::session()
{
    WindowRig rig;
    MainWindow &window = rig.window;
    TestBoard &board = rig.board;
    auto *media = child<QSpinBox>(&window, "Media");
    auto *innerLoops = child<QSpinBox>(&window, "MedInt");
    auto *coefficient = child<QDoubleSpinBox>(&window, "filtroLp");
    auto *send = child<QPushButton>(&window, "INVIA");
    auto *salva = child<QPushButton>(&window, "button_startSampling");
    auto *top = child<QPushButton>(&window, "button_startSampling_3");
    auto *connect = child<QPushButton>(&window, "push_serial_connect");
    QVERIFY(media && innerLoops && coefficient && send && salva && top && connect);
    QVERIFY(rig.showWithBoard());
    QVERIFY(rig.connectBoard());
    QVERIFY(connect->isChecked());
    media->setValue(3);

    // The settings commands, as the board receives them.
    QByteArray line;
    for (const auto &settings : kSettings) {
        innerLoops->setValue(settings.innerLoops);
        coefficient->setValue(settings.coefficient);
        QTest::mouseClick(send, Qt::LeftButton);
        QVERIFY(board.waitForReceived(10));
        const QByteArray command = board.takeReceived();
        line += QByteArray::number(settings.innerLoops) + ' '
            + QByteArray::number(settings.coefficient, 'g', 17) + ": " + command.toHex(' ') + '\n';
    }
    COMPARE_GOLDEN(line, "settings-commands.txt");

    // Each frame as decoded and shown: the bits the window took off the line
    // and the value of every display and bar.
    QByteArray shown;
    int lines = 0;
    for (const std::array<float, kCylinderCount> &readings : kReadings) {
        const float cycle = static_cast<float>(++lines);
        const QByteArray bytes = frameBytes(readings, cycle);
        QVERIFY(board.send(bytes));
        QTRY_COMPARE_WITH_TIMEOUT(
            static_cast<int>(window.measurementLog().count(QStringLiteral("\r\n"))), lines, 10000);
        const MeasurementFrame decoded = decodeFrame(bytes.constData());
        QString row = QStringLiteral("frame %1:").arg(lines);
        for (const float reading : decoded.readings)
            row += ' ' + hexBits(reading);
        row += ' ' + hexBits(decoded.cycleTime) + '\n';
        for (const char *name : kDisplays) {
            const auto *display = child<QLCDNumber>(&window, name);
            QVERIFY2(display, name);
            row += QStringLiteral("  %1 %2\n").arg(QLatin1String(name), exact(display->value()));
        }
        for (const char *name : kBars) {
            const auto *bar = child<QProgressBar>(&window, name);
            QVERIFY2(bar, name);
            row += QStringLiteral("  %1 %2\n").arg(QLatin1String(name)).arg(bar->value());
        }
        shown += row.toUtf8();
    }
    COMPARE_GOLDEN(shown, "displays.txt");

    // The log file of those frames, byte for byte.
    QTest::mouseClick(salva, Qt::LeftButton);
    const QStringList saved = QDir().entryList({QStringLiteral("log_*.txt")}, QDir::Files);
    QCOMPARE(saved.size(), 1);
    COMPARE_GOLDEN(readFile(saved.first()), "log_A_B_C_D_EMEDIE.txt");

    // A save that cannot open its file, then the port closed.
    QVERIFY(QDir().mkdir(QStringLiteral("gone")));
    QVERIFY(QDir::setCurrent(QStringLiteral("gone")));
    QVERIFY(QDir(directory.path()).rmdir(QStringLiteral("gone")));
    QTest::mouseClick(top, Qt::LeftButton);
    QVERIFY(QDir::setCurrent(directory.path()));
    QTest::mouseClick(connect, Qt::LeftButton);
    QVERIFY(!connect->isChecked());

    // The debug lines with the slot that wrote them, the clock's part of the
    // file names and the port's name left out. Every frame has its "Ready
    // read" lines, as many as the line needed to bring the frame in; they
    // are checked for their form and counted.
    const QRegularExpression clock(QStringLiteral("EMEDIE\\d+_\\d+_\\d+_\\d+_\\d+_\\d+\\.txt"));
    const QRegularExpression readyRead(QStringLiteral("^Ready read: (\\d+)$"));
    QByteArray debugLines;
    int framesRead = 0;
    for (const MessageCapture::Message &message : rig.messages.messages()) {
        if (message.type != QtDebugMsg)
            continue;
        const QRegularExpressionMatch match = readyRead.match(message.text);
        if (match.hasMatch()) {
            QCOMPARE(message.function, QStringLiteral("void MainWindow::serial_ready_read()"));
            framesRead += match.captured(1).toInt() == kFrameSize;
            continue;
        }
        QString text = message.text;
        text.replace(board.portName(), QStringLiteral("<port>"));
        text.replace(clock, QStringLiteral("EMEDIE<day_month_year_hour_minute_second>.txt"));
        debugLines += (message.function + QStringLiteral(": ") + text + '\n').toUtf8();
    }
    QCOMPARE(framesRead, lines);
    COMPARE_GOLDEN(debugLines, "debug-lines.txt");
}

QTEST_MAIN(TestSameBytes)
#include "test_samebytes.moc"
