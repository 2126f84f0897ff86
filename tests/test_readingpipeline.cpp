// Frames from a pseudo-terminal board through the real window: which waiting
// bytes are taken as a frame, and what every display and bar then shows.
#include "mainwindow.h"
#include "windowrig.h"

#include <QComboBox>
#include <QImage>
#include <QLCDNumber>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Values = std::array<float, kCylinderCount>;
using Shown = std::array<double, kCylinderCount>;

// What displays show for single-precision values: each widened exactly.
Shown wide(const Values &values)
{
    return {double(values[0]), double(values[1]), double(values[2]), double(values[3])};
}

const QString readSlot = QStringLiteral("void MainWindow::serial_ready_read()");
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

struct Rig : WindowRig
{
    std::array<QLCDNumber *, kCylinderCount> raw{}, diff{}, mean{}, meanDiff{};
    std::array<QProgressBar *, kCylinderCount> rawBar{}, meanBar{};
    QLCDNumber *tardu = nullptr;
    QComboBox *reference = nullptr;
    QSpinBox *averaging = nullptr;

    bool setUp()
    {
        const char *names[4][4] = {{"A", "B", "C", "D"},
                                   {"AD", "BD", "CD", "DD"},
                                   {"AM", "BM", "CM", "DM"},
                                   {"AMD", "BMD", "CMD", "DMD"}};
        const char *bars[2][4] = {{"BA", "BB", "BC", "BAD"}, {"BAM", "BBM", "BCM", "BDM"}};
        bool found = true;
        for (int i = 0; i < 4; ++i) {
            found &= (raw[i] = child<QLCDNumber>(&window, names[0][i])) != nullptr;
            found &= (diff[i] = child<QLCDNumber>(&window, names[1][i])) != nullptr;
            found &= (mean[i] = child<QLCDNumber>(&window, names[2][i])) != nullptr;
            found &= (meanDiff[i] = child<QLCDNumber>(&window, names[3][i])) != nullptr;
            found &= (rawBar[i] = child<QProgressBar>(&window, bars[0][i])) != nullptr;
            found &= (meanBar[i] = child<QProgressBar>(&window, bars[1][i])) != nullptr;
        }
        tardu = child<QLCDNumber>(&window, "Tardu");
        reference = child<QComboBox>(&window, "Scegli");
        averaging = child<QSpinBox>(&window, "Media");
        return found && tardu && reference && averaging && showWithBoard() && connectBoard();
    }

    bool waitForLine(const QString &text)
    {
        return QTest::qWaitFor([&] { return messages.contains(text, readSlot); }, 5000);
    }

    static Shown values(const std::array<QLCDNumber *, kCylinderCount> &displays)
    {
        return {displays[0]->value(), displays[1]->value(), displays[2]->value(),
                displays[3]->value()};
    }
};

// Compares a display with a value that may be NaN or infinite.
bool shows(const QLCDNumber *display, float expected)
{
    if (std::isnan(expected))
        return std::isnan(display->value());
    return display->value() == double(expected);
}

// How display looks showing text: a twin in its place, alike in every
// setting that bears on the picture, shows the text and is grabbed.
QImage looksWith(QLCDNumber *display, const QString &text)
{
    QLCDNumber twin(display->digitCount(), display->parentWidget());
    twin.setGeometry(display->geometry());
    twin.setSegmentStyle(display->segmentStyle());
    twin.setSmallDecimalPoint(display->smallDecimalPoint());
    twin.setFrameStyle(display->frameStyle());
    twin.display(text);
    return twin.grab().toImage();
}

} // namespace

Q_DECLARE_METATYPE(Values)

namespace QTest {
template <>
char *toString(const Shown &shown)
{
    return qstrdup(QStringLiteral("%1, %2, %3, %4")
                       .arg(shown[0], 0, 'g', 9)
                       .arg(shown[1], 0, 'g', 9)
                       .arg(shown[2], 0, 'g', 9)
                       .arg(shown[3], 0, 'g', 9)
                       .toLatin1()
                       .constData());
}
} // namespace QTest

class TestReadingPipeline : public QObject
{
    Q_OBJECT

private slots:
    void exampleFrame();
    void frameInPieces_data();
    void frameInPieces();
    void nineteenWaiting();
    void tooManyWaiting_data();
    void tooManyWaiting();
    void strayBytesBeforeFrame();
    void differences_data();
    void differences();
    void typedReference_data();
    void typedReference();
    void averagesOverMedia();
    void firstFrameAfterMediaChange_data();
    void firstFrameAfterMediaChange();
    void barTruncation_data();
    void barTruncation();
    void nonFiniteReading_data();
    void nonFiniteReading();
    void averageBeyondSinglePrecision();
    void cycleTimeOnlyOnTardu();
    void overflowShownUntilValueFits();
    void pointMovesOverTheSameDigits();
};

void TestReadingPipeline::exampleFrame()
{
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.board.send(frameBytes({-20.5f, -21.25f, -19.75f, -20.0f}, 15.0f)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), 15.0, 5000);
    QCOMPARE(Rig::values(rig.raw), wide({-20.5f, -21.25f, -19.75f, -20.0f}));
    QCOMPARE(rig.messages.textsFrom(readSlot),
             QStringList({QStringLiteral("Ready read: %1").arg(kFrameSize)}));
}

void TestReadingPipeline::frameInPieces_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("12 + the rest") << QList<int>{12, kFrameSize - 12};
    QTest::newRow("all but 1 + 1") << QList<int>{kFrameSize - 1, 1};
    QTest::newRow("1 + the rest") << QList<int>{1, kFrameSize - 1};
    QTest::newRow("5 + 5 + 5 + the rest") << QList<int>{5, 5, 5, kFrameSize - 15};
}

// Each piece is left waiting until the count reaches exactly a frame.
void TestReadingPipeline::frameInPieces()
{
    QFETCH(QList<int>, pieces);
    Rig rig;
    QVERIFY(rig.setUp());
    const QByteArray bytes = frameBytes({-30.5f, -31.f, -32.25f, -33.f}, 42.f);
    int sent = 0;
    for (const int piece : pieces) {
        QVERIFY(rig.board.send(bytes.mid(sent, piece)));
        sent += piece;
        QVERIFY(rig.waitForLine(QStringLiteral("Ready read: %1").arg(sent)));
    }
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), 42.0, 5000);
    QCOMPARE(Rig::values(rig.raw), wide({-30.5f, -31.f, -32.25f, -33.f}));
    QCOMPARE(rig.messages.count("Errore azzero"), 0);
}

void TestReadingPipeline::nineteenWaiting()
{
    Rig rig;
    QVERIFY(rig.setUp());
    const QByteArray bytes = frameBytes({-1.f, -2.f, -3.f, -4.f}, 5.f);
    QVERIFY(rig.board.send(bytes.left(kFrameSize - 1)));
    QVERIFY(rig.waitForLine(QStringLiteral("Ready read: %1").arg(kFrameSize - 1)));
    QCOMPARE(Rig::values(rig.raw), wide({0, 0, 0, 0}));
    QCOMPARE(rig.tardu->value(), 0.0);

    // Nothing happened while they waited: the last byte is what the window
    // reads next, and the frame is taken whole.
    QVERIFY(rig.board.send(bytes.right(1)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), 5.0, 5000);
    QCOMPARE(rig.messages.textsFrom(readSlot),
             QStringList({QStringLiteral("Ready read: %1").arg(kFrameSize - 1),
                          QStringLiteral("Ready read: %1").arg(kFrameSize)}));
    QCOMPARE(Rig::values(rig.raw), wide({-1.f, -2.f, -3.f, -4.f}));
}

void TestReadingPipeline::tooManyWaiting_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray frame = frameBytes({-5.f, -6.f, -7.f, -8.f}, 9.f);
    QTest::newRow("a frame and one byte") << frame + QByteArray(1, '\x7f');
    QTest::newRow("one byte and a frame") << QByteArray(1, '\x7f') + frame;
    QTest::newRow("two frames together") << frame + frame;
}

// Everything waiting is thrown away, so that the next frame is taken whole.
void TestReadingPipeline::tooManyWaiting()
{
    QFETCH(QByteArray, bytes);
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.board.send(bytes));
    QVERIFY(rig.waitForLine("Errore azzero"));
    QCOMPARE(rig.messages.textsFrom(readSlot),
             QStringList({QStringLiteral("Ready read: %1").arg(bytes.size()), "Errore azzero"}));
    QCOMPARE(Rig::values(rig.raw), wide({0, 0, 0, 0}));
    QCOMPARE(rig.tardu->value(), 0.0);

    QVERIFY(rig.frame({-10.f, -11.f, -12.f, -13.f}));
    QCOMPARE(Rig::values(rig.raw), wide({-10.f, -11.f, -12.f, -13.f}));
    QCOMPARE(rig.messages.count("Errore azzero"), 1);
}

// Five stray bytes and the start of a reply make a shifted frame; the
// reply's last 5 bytes then spoil the next reply, and the one after is good.
void TestReadingPipeline::strayBytesBeforeFrame()
{
    Rig rig;
    QVERIFY(rig.setUp());
    const QByteArray stray = QByteArray::fromHex("0000A0C100");
    const QByteArray reply = frameBytes({-20.f, -22.f, -24.f, -26.f}, 11.f);

    QVERIFY(rig.board.send(stray));
    QVERIFY(rig.waitForLine("Ready read: 5"));
    const int taken = kFrameSize - stray.size();
    QVERIFY(rig.board.send(reply.left(taken)));
    const QByteArray shifted = stray + reply.left(taken);
    const MeasurementFrame shown = decodedFrame(shifted);
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), double(shown.cycleTime), 5000);
    QCOMPARE(Rig::values(rig.raw), wide(shown.readings));
    QCOMPARE(rig.raw[0]->value(), -20.0); // the stray bytes happen to read -20

    rig.messages.clear();
    QVERIFY(rig.board.send(reply.mid(taken)));
    QVERIFY(rig.waitForLine("Ready read: 5"));
    QVERIFY(rig.board.send(reply));
    QVERIFY(rig.waitForLine("Errore azzero"));
    QCOMPARE(rig.messages.textsFrom(readSlot),
             QStringList({"Ready read: 5", QStringLiteral("Ready read: %1").arg(kFrameSize + 5),
                          "Errore azzero"}));

    QVERIFY(rig.frame({-20.f, -22.f, -24.f, -26.f}));
    QCOMPARE(Rig::values(rig.raw), wide({-20.f, -22.f, -24.f, -26.f}));
}

void TestReadingPipeline::differences_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Values>("expected");
    QTest::newRow("\"1\"") << 0 << Values{0, -2, 1, -1};
    QTest::newRow("\"2\"") << 1 << Values{2, 0, 3, 1};
    QTest::newRow("\"3\"") << 2 << Values{-1, -3, 0, -2};
    QTest::newRow("\"4\"") << 3 << Values{1, -1, 2, 0};
}

void TestReadingPipeline::differences()
{
    QFETCH(int, index);
    QFETCH(Values, expected);
    Rig rig;
    QVERIFY(rig.setUp());
    rig.reference->setCurrentIndex(index);
    QVERIFY(rig.frame({-20.f, -22.f, -19.f, -21.f}));
    QCOMPARE(Rig::values(rig.diff), wide(expected));
    // The first frame's averages are its readings.
    QCOMPARE(Rig::values(rig.meanDiff), wide(expected));

    // A change of reference shows from the next frame on, on the averages too.
    rig.reference->setCurrentIndex((index + 1) % 4);
    QCOMPARE(Rig::values(rig.diff), wide(expected));
    QVERIFY(rig.frame({-20.f, -22.f, -19.f, -21.f}));
    QCOMPARE(rig.diff[(index + 1) % 4]->value(), 0.0);
    QCOMPARE(rig.meanDiff[(index + 1) % 4]->value(), 0.0);
    QVERIFY(rig.diff[index]->value() != 0.0);
}

// Only a cylinder number can be typed into Scegli: anything else is refused
// as it is typed, and an entry left empty goes back to the cylinder chosen,
// so that no typed item can stand for no cylinder and read 0 everywhere.
// Keys: text typed over the whole entry, "<" a backspace, then the end:
// "|" Return, ">" the focus moving on.
void TestReadingPipeline::typedReference_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shownWhileTyping");
    QTest::addColumn<int>("reference");
    QTest::newRow("listed number") << "3|"
                                   << "3" << 2;
    QTest::newRow("beyond the cylinders") << "7|"
                                          << "2" << 1;
    QTest::newRow("zero") << "0|"
                          << "2" << 1;
    QTest::newRow("two digits") << "12|"
                                << "1" << 0;
    QTest::newRow("sign") << "<-4|"
                          << "4" << 3;
    QTest::newRow("letters, blanks, points") << "< a,4.|"
                                             << "4" << 3;
    QTest::newRow("emptied") << "<|"
                             << "" << 1;
    QTest::newRow("emptied, focus moves on") << "<>"
                                             << "" << 1;
    QTest::newRow("beyond, focus moves on") << "<9>"
                                            << "" << 1;
    QTest::newRow("beyond, then Return") << "<9|"
                                         << "" << 1;
    QTest::newRow("listed number, focus moves on") << "3>"
                                                   << "3" << 2;
}

void TestReadingPipeline::typedReference()
{
    QFETCH(QString, keys);
    QFETCH(QString, shownWhileTyping);
    QFETCH(int, reference);
    Rig rig;
    QVERIFY(rig.setUp());
    rig.reference->setCurrentIndex(1);
    QVERIFY(rig.frame({-20.f, -22.f, -19.f, -21.f}));
    QCOMPARE(Rig::values(rig.diff), wide({2, 0, 3, 1}));

    QLineEdit *edit = rig.reference->lineEdit();
    QVERIFY(edit);
    rig.reference->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    for (const QChar key : keys) {
        if (key == '<') {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else if (key == '|' || key == '>') {
            QCOMPARE(edit->text(), shownWhileTyping);
            if (key == '|')
                QTest::keyClick(edit, Qt::Key_Return);
            else
                rig.averaging->setFocus();
        } else {
            QTest::keyClicks(edit, QString(key));
        }
    }
    QTRY_VERIFY(!keys.endsWith('>') || !edit->hasFocus());
    QCOMPARE(edit->text(), QString::number(reference + 1));
    QCOMPARE(rig.reference->count(), 4);
    QCOMPARE(rig.reference->currentIndex(), reference);

    const Values readings{-20.f, -22.f, -19.f, -21.f};
    QVERIFY(rig.frame(readings));
    Values expected{};
    for (std::size_t i = 0; i < readings.size(); ++i)
        expected[i] = readings[i] - readings[std::size_t(reference)];
    QCOMPARE(Rig::values(rig.diff), wide(expected));
    QCOMPARE(Rig::values(rig.meanDiff), wide(expected));
}

void TestReadingPipeline::averagesOverMedia()
{
    Rig rig;
    QVERIFY(rig.setUp());
    rig.averaging->setValue(2);
    const Values frames[] = {{-20.f, -10.f, -30.f, 4.f},
                             {-22.f, -12.f, -30.f, 2.f},
                             {-24.f, -13.f, -31.f, -1.f}};
    const Values means[] = {{-20.f, -10.f, -30.f, 4.f},
                            {-21.f, -11.f, -30.f, 3.f},
                            {-23.f, -12.5f, -30.5f, 0.5f}};
    // BDM rests on the top end, 1, while its mean is above the range.
    const int bars[][4] = {{-20, -10, -30, 1}, {-21, -11, -30, 1}, {-23, -12, -30, 0}};
    rig.reference->setCurrentIndex(3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(rig.frame(frames[i]));
        QCOMPARE(Rig::values(rig.mean), wide(means[i]));
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(rig.meanDiff[c]->value(), double(means[i][c] - means[i][3]));
            QCOMPARE(rig.meanBar[c]->value(), bars[i][c]);
        }
    }
}

void TestReadingPipeline::firstFrameAfterMediaChange_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("1") << 1;
    QTest::newRow("3") << 3;
    QTest::newRow("10000") << 10000;
}

void TestReadingPipeline::firstFrameAfterMediaChange()
{
    QFETCH(int, length);
    Rig rig;
    QVERIFY(rig.setUp());
    rig.reference->setCurrentIndex(2);
    QVERIFY(rig.frame({-40.f, -41.f, -42.f, -43.f}));
    QVERIFY(rig.frame({-44.f, -45.f, -46.f, -47.f}));
    rig.averaging->setValue(length);
    QVERIFY(rig.frame({-10.5f, -12.25f, -9.75f, -11.f}));
    QCOMPARE(Rig::values(rig.mean), Rig::values(rig.raw));
    QCOMPARE(Rig::values(rig.meanDiff), Rig::values(rig.diff));
    for (int c = 0; c < 4; ++c)
        QCOMPARE(rig.meanBar[c]->value(), rig.rawBar[c]->value());
    QCOMPARE(Rig::values(rig.mean), wide({-10.5f, -12.25f, -9.75f, -11.f}));

    // The averages then fill again from that frame.
    QVERIFY(rig.frame({-11.5f, -13.25f, -10.75f, -12.f}));
    const Values expected = length == 1 ? Values{-11.5f, -13.25f, -10.75f, -12.f}
                                        : Values{-11.f, -12.75f, -10.25f, -11.5f};
    QCOMPARE(Rig::values(rig.mean), wide(expected));
}

void TestReadingPipeline::barTruncation_data()
{
    QTest::addColumn<float>("reading");
    QTest::addColumn<int>("bar");
    // Each bar stands at -10 before the reading; -10 again means unchanged.
    QTest::newRow("-24.9") << -24.9f << -24;
    QTest::newRow("-50.7") << -50.7f << -50;
    QTest::newRow("-50.9") << -50.9f << -50;
    QTest::newRow("-51 pegs") << -51.f << -50;
    QTest::newRow("-60 pegs") << -60.f << -50;
    QTest::newRow("1.9") << 1.9f << 1;
    QTest::newRow("2.0 pegs") << 2.f << 1;
    QTest::newRow("3 pegs") << 3.f << 1;
    QTest::newRow("-0.5") << -0.5f << 0;
    QTest::newRow("0.9") << 0.9f << 0;
    QTest::newRow("-50") << -50.f << -50;
    QTest::newRow("3e9, past int") << 3e9f << 1;
    QTest::newRow("-3e9, past int") << -3e9f << -50;
    QTest::newRow("largest float") << std::numeric_limits<float>::max() << 1;
    QTest::newRow("NaN") << notANumber << -10;
    QTest::newRow("-infinity") << -inf << -10;
}

// Raw bars and average bars alike (with Media at 1 the averages are the
// readings).
void TestReadingPipeline::barTruncation()
{
    QFETCH(float, reading);
    QFETCH(int, bar);
    Rig rig;
    QVERIFY(rig.setUp());
    rig.averaging->setValue(1);
    QVERIFY(rig.frame({-10.f, -10.f, -10.f, -10.f}));
    QVERIFY(rig.frame({reading, reading, reading, reading}));
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(rig.rawBar[c]->value(), bar);
        QCOMPARE(rig.meanBar[c]->value(), bar);
        QVERIFY(shows(rig.raw[c], reading));
    }
}

void TestReadingPipeline::nonFiniteReading_data()
{
    QTest::addColumn<float>("bad");
    QTest::newRow("NaN") << notANumber;
    QTest::newRow("+infinity") << inf;
    QTest::newRow("-infinity") << -inf;
}

// A non-finite reading 2 with "2" as reference spoils the other differences,
// leaves its own at 0 and its bars as they were, and stays in its average.
void TestReadingPipeline::nonFiniteReading()
{
    QFETCH(float, bad);
    Rig rig;
    QVERIFY(rig.setUp());
    rig.reference->setCurrentIndex(1);
    QVERIFY(rig.frame({-20.f, -30.f, -19.f, -21.f}));
    QCOMPARE(rig.rawBar[1]->value(), -30);
    QCOMPARE(rig.meanBar[1]->value(), -30);

    const Values readings{-20.f, bad, -19.f, -21.f};
    QVERIFY(rig.frame(readings));
    QVERIFY(shows(rig.raw[1], bad));
    QCOMPARE(rig.diff[1]->value(), 0.0);
    QCOMPARE(rig.meanDiff[1]->value(), 0.0);
    QCOMPARE(rig.rawBar[1]->value(), -30);
    QCOMPARE(rig.meanBar[1]->value(), -30);
    QVERIFY(shows(rig.mean[1], (-30.f + bad) / 2));
    for (const int c : {0, 2, 3}) {
        QVERIFY2(shows(rig.diff[c], readings[c] - bad), qPrintable(QString::number(c)));
        QVERIFY(!std::isfinite(rig.meanDiff[c]->value()));
        QCOMPARE(rig.rawBar[c]->value(), int(readings[c]));
    }

    // Good readings again: the raw side recovers, the average keeps the bad
    // value while it stays in the window.
    QVERIFY(rig.frame({-20.f, -25.f, -19.f, -21.f}));
    QCOMPARE(Rig::values(rig.diff), wide({5, 0, 6, 4}));
    QCOMPARE(rig.rawBar[1]->value(), -25);
    QVERIFY(!std::isfinite(rig.mean[1]->value()));
    QCOMPARE(rig.meanBar[1]->value(), -30);
    QCOMPARE(rig.mean[0]->value(), -20.0);
}

// Two readings near the largest float sum past the single-precision range:
// the mean is infinite, its bar stays where the first frame's mean pegged it,
// its difference is infinite too.
void TestReadingPipeline::averageBeyondSinglePrecision()
{
    Rig rig;
    QVERIFY(rig.setUp());
    const float largest = std::numeric_limits<float>::max();
    QVERIFY(rig.frame({-10.f, largest, -10.f, -largest}));
    QCOMPARE(rig.mean[1]->value(), double(largest));
    QVERIFY(rig.frame({-10.f, largest, -10.f, -largest}));
    QCOMPARE(rig.mean[0]->value(), -10.0);
    QCOMPARE(rig.mean[1]->value(), double(inf));
    QCOMPARE(rig.mean[3]->value(), double(-inf));
    QCOMPARE(rig.meanDiff[1]->value(), double(inf));
    QCOMPARE(rig.meanBar[1]->value(), 1);
    QCOMPARE(rig.meanBar[3]->value(), -50);
}

// The fifth value is shown on Tardu and goes nowhere else.
void TestReadingPipeline::cycleTimeOnlyOnTardu()
{
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.board.send(frameBytes({-1.f, -2.f, -3.f, -4.f}, 900.f)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), 900.0, 5000);
    QVERIFY(rig.board.send(frameBytes({-1.f, -2.f, -3.f, -4.f}, 1.5f)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.tardu->value(), 1.5, 5000);
    QCOMPARE(Rig::values(rig.raw), wide({-1.f, -2.f, -3.f, -4.f}));
    QCOMPARE(Rig::values(rig.mean), wide({-1.f, -2.f, -3.f, -4.f}));
    QCOMPARE(Rig::values(rig.diff), wide({0.f, -1.f, -2.f, -3.f}));
}

// A cycle time too wide for Tardu's three digits, or not a number at all,
// shows dashes, not the number before it nor letters; the next one that
// fits is shown again.
void TestReadingPipeline::overflowShownUntilValueFits()
{
    Rig rig;
    QVERIFY(rig.setUp());
    for (const float cycle :
         {900.f, 1000.f, -100.f, 15.f, -inf, 999.f, inf, 12.f, notANumber, 1.5f}) {
        QVERIFY(rig.board.send(frameBytes({-1.f, -2.f, -3.f, -4.f}, cycle)));
        QTRY_VERIFY_WITH_TIMEOUT(shows(rig.tardu, cycle), 5000);
        const bool fits = cycle > -100.f && cycle < 1000.f;
        const QImage expected = looksWith(rig.tardu, fits ? QString::number(double(cycle)) : "---");
        // Repaints may lag the values.
        QTRY_VERIFY_WITH_TIMEOUT(rig.tardu->grab().toImage() == expected, 5000);
    }
}

// The same digits with the point elsewhere: the display shows the new
// number, point and all, and a reading that is not a number shows the
// dashes on all eight digits.
void TestReadingPipeline::pointMovesOverTheSameDigits()
{
    Rig rig;
    QVERIFY(rig.setUp());
    const struct
    {
        float reading;
        const char *looks;
    } steps[] = {{-2.5f, "-2.5"}, {-25.f, "-25"},    {1.25f, "1.25"},
                 {12.5f, "12.5"}, {125.f, "125"},    {notANumber, "--------"},
                 {-2.5f, "-2.5"}, {inf, "--------"}, {-25.f, "-25"}};
    for (const auto &step : steps) {
        QVERIFY(rig.frame({step.reading, -20.f, -20.f, -20.f}));
        const QImage expected = looksWith(rig.raw[0], QString::fromLatin1(step.looks));
        QTRY_VERIFY2_WITH_TIMEOUT(rig.raw[0]->grab().toImage() == expected, step.looks, 5000);
        QVERIFY(shows(rig.raw[0], step.reading));
    }
}

QTEST_MAIN(TestReadingPipeline)
#include "test_readingpipeline.moc"
