#include "logreader.h"
#include "measurementlog.h"

#include "changingfile.h"
#include "floatbits.h"
#include "testlog.h"

#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QtTest>

#include <charconv>
#include <sys/stat.h>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(LineProblem)
Q_DECLARE_METATYPE(BadLinePolicy)
Q_DECLARE_METATYPE(ReadStatus)

using Row = std::array<float, 8>;
Q_DECLARE_METATYPE(Row)

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float qnan = std::numeric_limits<float>::quiet_NaN();

// A log text as the gauge writes it, one line per row.
QByteArray gaugeLog(const std::vector<Row> &rows)
{
    TestLog log;
    for (const Row &row : rows)
        log.add(row);
    return log.bytes();
}

bool sameFloat(float a, float b)
{
    return bitsOf(a) == bitsOf(b) || (std::isnan(a) && std::isnan(b));
}

const QByteArray kGoodLine =
    "1.000000,2.000000,3.000000,4.000000,5.000000,6.000000,7.000000,8.000000";

} // namespace

class TestLogReader : public QObject
{
    Q_OBJECT

private slots:
    void gaugeLinesReadBackExactly_data();
    void gaugeLinesReadBackExactly();
    void smallValuesReadBackToTheSameText();
    void numbersAsTheGeneralParserReadsThem();
    void lineEnds_data();
    void lineEnds();
    void badLines_data();
    void badLines();
    void skipKeepsColumnsAligned();
    void randomTextEveryLineAccountedFor();
    void binaryFileIsRefusedWhole();
    void emptyLogHasNoReadings();
    void fileNameDates_data();
    void fileNameDates();
    void readsFileWithItsDate();
    void fileChangedWhileRead_data();
    void fileChangedWhileRead();
    void fileKinds_data();
    void fileKinds();
};

void TestLogReader::gaugeLinesReadBackExactly_data()
{
    QTest::addColumn<Row>("row");
    QTest::newRow("vacuum") << Row{-25.3f, -24.1f, -26.75f, -19.999f,
                                   -25.1f, -24.2f, -26.6f,  -20.01f};
    QTest::newRow("atmospheric") << Row{101.3f,  100.0f,  99.5f,  98.7654f,
                                        101.29f, 100.01f, 99.52f, 98.76f};
    QTest::newRow("non-finite") << Row{qnan, inf, -inf, 16.5f, -qnan, 20.0f, -inf, inf};
    QTest::newRow("largest") << Row{std::numeric_limits<float>::max(),
                                    -std::numeric_limits<float>::max(),
                                    1e10f,
                                    -1e10f,
                                    16777216.0f,
                                    123456.7f,
                                    -32.0f,
                                    64.25f};
    QTest::newRow("zero") << Row{0.0f, 0.0f, 17.0f, -17.0f, 18.0f, 19.0f, 20.0f, 21.0f};
}

// Every value of 16 or more in magnitude keeps all its bits through six
// decimals; so do zeros, infinities and nan. In a session, values no sensor
// gives are left out (nan) and counted, as are the non-finite ones.
void TestLogReader::gaugeLinesReadBackExactly()
{
    QFETCH(Row, row);
    const Row second{row[7], row[6], row[5], row[4], row[3], row[2], row[1], row[0]};
    const QByteArray text = gaugeLog({row, second});
    const int lineEnd = text.indexOf("\r\n");
    const LineParse line = parseLogLine(text.constData(), text.constData() + lineEnd);
    QVERIFY(line.ok);
    for (std::size_t c = 0; c < 8; ++c)
        QVERIFY2(sameFloat(line.values[c], row[c]), qPrintable(QString::number(c)));

    const ReadResult result = parseLogText(text, QStringLiteral("mem"), BadLinePolicy::Stop);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.session.readingCount(), std::size_t(2));
    std::size_t nonFinite = 0, impossible = 0;
    for (std::size_t c = 0; c < 8; ++c) {
        for (const float value : {row[c], second[c]}) {
            if (!std::isfinite(value))
                ++nonFinite;
            else if (std::fabs(value) > 200.0f)
                ++impossible;
        }
        const auto kept = [](float value) {
            return std::isfinite(value) && std::fabs(value) > 200.0f ? qnan : value;
        };
        QVERIFY2(sameFloat(result.session.columns[c][0], kept(row[c])),
                 qPrintable(QString::number(c)));
        QVERIFY2(sameFloat(result.session.columns[c][1], kept(second[c])),
                 qPrintable(QString::number(c)));
    }
    QCOMPARE(result.session.nonFiniteValues, nonFinite);
    QCOMPARE(result.session.impossibleValues, impossible);
}

// Below 16 six decimals cannot hold every bit; what is read back is the
// float nearest the text, which the gauge writes as the same text again.
void TestLogReader::smallValuesReadBackToTheSameText()
{
    std::vector<Row> rows;
    for (int i = 0; i < 200; ++i) {
        const float v = static_cast<float>(i) * 0.0731f - 7.3f;
        rows.push_back({v, v / 3, v * 1.7f, 0.000001f * i, -v, 1.0f / (i + 1), v, v});
    }
    const QByteArray text = gaugeLog(rows);
    const ReadResult result = parseLogText(text, QString(), BadLinePolicy::Stop);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    TestLog again;
    again.addColumns(result.session.columns);
    QCOMPARE(again.bytes(), text);
}

// The reader's own number parsing gives exactly what the standard library's
// correctly rounded parser gives: random gauge fields, random decimals, and
// decimals that lie exactly between two floats.
void TestLogReader::numbersAsTheGeneralParserReadsThem()
{
    QStringList texts{QStringLiteral("16777217"),
                      QStringLiteral("16777219.000000"),
                      QStringLiteral("-16777217.0"),
                      QStringLiteral("0.000000"),
                      QStringLiteral("-0.000000"),
                      QStringLiteral("000.5"),
                      QStringLiteral("123456789012345"),
                      QStringLiteral("1234567890123456"),
                      QStringLiteral("0.100000000000000"),
                      QStringLiteral("5e-1"),
                      QStringLiteral("1.")};
    QRandomGenerator random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const float f = floatFromBits(random.generate());
        if (std::isfinite(f) && std::fabs(f) < 1e12f)
            texts << QString::number(static_cast<double>(f), 'f', 6);
        texts << QString::number(random.bounded(-100000000, 100000000)) + QLatin1Char('.')
                + QString::number(random.bounded(0, 1000000))
                      .rightJustified(random.bounded(1, 9), QLatin1Char('0'));
        // Halfway between two floats of magnitude 2^24..2^25: an odd integer.
        texts << QString::number(16777217 + 2 * random.bounded(0, 8000000));
    }
    for (const QString &text : texts) {
        const QByteArray field = text.toLatin1();
        QByteArray line = field;
        for (int c = 1; c < 8; ++c)
            line += ',' + field;
        float expected = 0;
        const auto parsed =
            std::from_chars(field.constData(), field.constData() + field.size(), expected);
        QVERIFY(parsed.ec == std::errc() && parsed.ptr == field.constData() + field.size());
        const LineParse parse = parseLogLine(line.constData(), line.constData() + line.size());
        QVERIFY2(parse.ok, field.constData());
        for (const float value : parse.values)
            QVERIFY2(bitsOf(value) == bitsOf(expected), field.constData());
    }
}

void TestLogReader::lineEnds_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("readings");
    QTest::newRow("CR LF") << QByteArray(kGoodLine + "\r\n" + kGoodLine + "\r\n") << 2;
    QTest::newRow("LF") << QByteArray(kGoodLine + "\n" + kGoodLine + "\n") << 2;
    QTest::newRow("mixed") << QByteArray(kGoodLine + "\n" + kGoodLine + "\r\n" + kGoodLine) << 3;
    QTest::newRow("no end on the last") << QByteArray(kGoodLine + "\r\n" + kGoodLine) << 2;
    QTest::newRow("blank lines at the end") << QByteArray(kGoodLine + "\r\n\r\n\n  \r\n") << 1;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" + kGoodLine + "\r\n") << 1;
    QTest::newRow("spaces around numbers") << QByteArray(" 1, 2 ,3,4,5,6,7,\t8 \r\n") << 1;
}

void TestLogReader::lineEnds()
{
    QFETCH(QByteArray, text);
    QFETCH(int, readings);
    const ReadResult result = parseLogText(text, QStringLiteral("x.txt"), BadLinePolicy::Stop);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.session.readingCount(), std::size_t(readings));
    for (std::size_t c = 0; c < 8; ++c)
        QCOMPARE(result.session.columns[c].back(), static_cast<float>(c + 1));
    QCOMPARE(result.session.skippedLines, std::size_t(0));
}

void TestLogReader::badLines_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<LineProblem>("problem");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("seven fields") << QByteArray("1,2,3,4,5,6,7") << LineProblem::FieldCount << 0
                                  << QStringLiteral("found 7 fields");
    QTest::newRow("nine fields") << QByteArray("1,2,3,4,5,6,7,8,9") << LineProblem::FieldCount << 0
                                 << QStringLiteral("found 9 fields");
    QTest::newRow("trailing comma") << QByteArray("1,2,3,4,5,6,7,8,") << LineProblem::FieldCount << 0
                                    << QStringLiteral("found 9 fields");
    QTest::newRow("blank line between")
        << QByteArray("") << LineProblem::FieldCount << 0 << QStringLiteral("empty or single field");
    QTest::newRow("decimal comma") << QByteArray("1,2,3,4,5,6,7,8,5") << LineProblem::FieldCount << 0
                                   << QStringLiteral("found 9 fields");
    QTest::newRow("word") << QByteArray("1,2,abc,4,5,6,7,8") << LineProblem::NotANumber << 3
                          << QStringLiteral("field 3 is not a number");
    QTest::newRow("empty field") << QByteArray("1,2,3,4,,6,7,8") << LineProblem::NotANumber << 5
                                 << QStringLiteral("field 5 is not a number");
    QTest::newRow("number and junk") << QByteArray("1,2,3,4,5,6,7,8x") << LineProblem::NotANumber << 8
                                     << QStringLiteral("field 8 is not a number");
    QTest::newRow("two numbers in a field")
        << QByteArray("1,2 3,3,4,5,6,7,8") << LineProblem::NotANumber << 2
        << QStringLiteral("field 2 is not a number");
    QTest::newRow("beyond float") << QByteArray("1,2,3,4,5,6,7,1e39") << LineProblem::OutOfRange << 8
                                  << QStringLiteral("field 8 is a number too large");
    QTest::newRow("control bytes") << QByteArray("1,2,3,\x01\x02,5,6,7,8") << LineProblem::BinaryData
                                   << 0 << QStringLiteral("binary data");
    QTest::newRow("bytes beyond ASCII")
        << QByteArray("1,2,3,4,5,6,7,8\xff\xfe") << LineProblem::BinaryData << 0
        << QStringLiteral("binary data");
}

// Each kind of bad line, on line 2 of three: stop names the file and the
// line; skip keeps lines 1 and 3 and counts the bad one.
void TestLogReader::badLines()
{
    QFETCH(QByteArray, bad);
    QFETCH(LineProblem, problem);
    QFETCH(int, field);
    QFETCH(QString, message);
    const QByteArray text = kGoodLine + "\r\n" + bad + "\r\n" + kGoodLine + "\r\n";

    const ReadResult stopped = parseLogText(text, QStringLiteral("session.txt"), BadLinePolicy::Stop);
    QCOMPARE(stopped.status, ReadStatus::BadLine);
    QVERIFY(stopped.session.isEmpty());
    QCOMPARE(stopped.lineErrors.size(), std::size_t(1));
    QCOMPARE(stopped.lineErrors[0].lineNumber, std::size_t(2));
    QCOMPARE(stopped.lineErrors[0].problem, problem);
    QCOMPARE(stopped.lineErrors[0].field, field);
    QVERIFY2(stopped.errorText.startsWith(QStringLiteral("session.txt, line 2: ")),
             qPrintable(stopped.errorText));
    QVERIFY2(stopped.errorText.contains(message), qPrintable(stopped.errorText));

    const ReadResult skipped = parseLogText(text, QStringLiteral("session.txt"), BadLinePolicy::Skip);
    QVERIFY2(skipped.ok(), qPrintable(skipped.errorText));
    QCOMPARE(skipped.session.readingCount(), std::size_t(2));
    QCOMPARE(skipped.session.skippedLines, std::size_t(1));
    QCOMPARE(skipped.lineErrors.size(), std::size_t(1));
    QCOMPARE(skipped.lineErrors[0].lineNumber, std::size_t(2));
}

void TestLogReader::skipKeepsColumnsAligned()
{
    QByteArray text;
    for (int i = 1; i <= 300; ++i) {
        if (i % 3 == 0)
            text += "9,9,9\r\n"; // short lines must not pull values from the next
        else
            text += QByteArray::number(i) + ",20,30,40," + QByteArray::number(-i) + ",60,70,80\r\n";
    }
    const ReadResult result = parseLogText(text, QStringLiteral("a"), BadLinePolicy::Skip);
    QVERIFY(result.ok());
    QCOMPARE(result.session.readingCount(), std::size_t(200));
    QCOMPARE(result.session.skippedLines, std::size_t(100));
    QCOMPARE(result.lineErrors.size(), kMaxReportedLineErrors);
    QCOMPARE(result.lineErrors.back().lineNumber, std::size_t(300));
    for (std::size_t i = 0; i < result.session.readingCount(); ++i) {
        QCOMPARE(result.session.raw(0)[i], -result.session.average(0)[i]);
        QCOMPARE(result.session.raw(3)[i], 40.0f);
        QCOMPARE(result.session.average(3)[i], 80.0f);
    }
}

// Seeded random logs of good lines, damaged lines and stray bytes: under
// skip every line is either a reading or counted; under stop the reader
// either takes every line or names a line that exists.
void TestLogReader::randomTextEveryLineAccountedFor()
{
    const QByteArray pieces[] = {
        kGoodLine, "nan,inf,-inf,1,2,3,4,5", "1,2", ",", "-", "1e", "\r", "\t", "\x80", "\x7f", " ",
        "9.5",     "1,2,3,4,5,6,7,8"};
    QRandomGenerator random(13);
    for (int round = 0; round < 500; ++round) {
        QByteArray text;
        const int lines = random.bounded(1, 30);
        for (int line = 0; line < lines; ++line) {
            for (int k = random.bounded(1, 4); k > 0; --k)
                text += pieces[random.bounded(int(std::size(pieces)))];
            text += random.bounded(2) ? "\r\n" : "\n";
        }
        // Lines up to the last one with something other than blanks.
        int last = text.size();
        while (last > 0 && QByteArray(" \t\r\n").contains(text.at(last - 1)))
            --last;
        const int counted = last ? text.left(last).count('\n') + 1 : 0;
        const ReadResult skip = parseLogText(text, QStringLiteral("r"), BadLinePolicy::Skip);
        for (const auto &column : skip.session.columns)
            QCOMPARE(column.size(), skip.session.readingCount());
        if (skip.status != ReadStatus::NoReadings || skip.session.skippedLines)
            QCOMPARE(int(skip.session.readingCount() + skip.session.skippedLines), counted);
        const ReadResult stop = parseLogText(text, QStringLiteral("r"), BadLinePolicy::Stop);
        if (stop.status == ReadStatus::BadLine)
            QVERIFY(int(stop.lineErrors.at(0).lineNumber) <= counted);
        else if (stop.ok())
            QCOMPARE(int(stop.session.readingCount()), counted);
    }
}

void TestLogReader::binaryFileIsRefusedWhole()
{
    QByteArray text = kGoodLine + "\r\n" + kGoodLine + "\r\nPK\x03\x04";
    text.append('\0');
    text += "\x10\x20more\n";
    for (const BadLinePolicy policy : {BadLinePolicy::Stop, BadLinePolicy::Skip}) {
        const ReadResult result = parseLogText(text, QStringLiteral("archive.zip"), policy);
        QCOMPARE(result.status, ReadStatus::BinaryFile);
        QCOMPARE(result.lineErrors.at(0).lineNumber, std::size_t(3));
        QVERIFY2(result.errorText.contains(QStringLiteral("archive.zip")),
                 qPrintable(result.errorText));
        QVERIFY(result.session.isEmpty());
    }
}

void TestLogReader::emptyLogHasNoReadings()
{
    QCOMPARE(parseLogText(QByteArray(), QStringLiteral("e"), BadLinePolicy::Stop).status,
             ReadStatus::NoReadings);
    const ReadResult allBad = parseLogText("a\r\nb\r\n", QStringLiteral("e"), BadLinePolicy::Skip);
    QCOMPARE(allBad.status, ReadStatus::NoReadings);
    QCOMPARE(allBad.session.skippedLines, std::size_t(2));
    QVERIFY2(allBad.errorText.contains(QStringLiteral("holds no valid readings (2 bad lines)")),
             qPrintable(allBad.errorText));
}

void TestLogReader::fileNameDates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<bool>("top");
    const QDateTime saved(QDate(2016, 2, 6), QTime(9, 5, 3));
    QTest::newRow("Salva") << QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt") << saved
                           << false;
    QTest::newRow("TOP") << QStringLiteral("TOP_log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt") << saved
                         << true;
    QTest::newRow("with folder") << QStringLiteral(
        "/home/x/log_A_B_C_D_EMEDIE31_12_2025_23_59_59.txt")
                                 << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)) << false;
    QTest::newRow("no such day") << QStringLiteral("log_A_B_C_D_EMEDIE30_2_2016_9_5_3.txt")
                                 << QDateTime() << false;
    QTest::newRow("hour 24") << QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_24_5_3.txt") << QDateTime()
                             << false;
    QTest::newRow("leading zero") << QStringLiteral("log_A_B_C_D_EMEDIE06_2_2016_9_5_3.txt")
                                  << QDateTime() << false;
    QTest::newRow("renamed") << QStringLiteral("session.txt") << QDateTime() << false;
    QTest::newRow("other suffix") << QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_9_5_3.csv")
                                  << QDateTime() << false;
}

void TestLogReader::fileNameDates()
{
    QFETCH(QString, name);
    QFETCH(QDateTime, expected);
    QFETCH(bool, top);
    const std::optional<QDateTime> found = dateTimeFromLogFileName(name);
    QCOMPARE(found.has_value(), expected.isValid());
    if (found)
        QCOMPARE(*found, expected);
    QCOMPARE(isTopLogFileName(name), top);
    // The gauge's own file names read back to the moment they were made from.
    if (expected.isValid()) {
        const QString prefix = (top ? QLatin1String(kTopLogFileMark) : QString())
            + QLatin1String(kLogFilePrefix);
        QCOMPARE(dateTimeFromLogFileName(logFileName(prefix, expected.date(), expected.time())),
                 expected);
    }
}

void TestLogReader::readsFileWithItsDate()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("TOP_log_A_B_C_D_EMEDIE7_12_2026_8_50_1.txt"));
    QVERIFY(writeTestFile(path, gaugeLog({Row{-20, -21, -22, -23, -20, -21, -22, -23}})));
    const ReadResult result = readLogFile(path, BadLinePolicy::Stop);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.session.raw(3).at(0), -23.0f);
    QVERIFY(result.session.topMark);
    QCOMPARE(result.session.recordedAt.value(), QDateTime(QDate(2026, 12, 7), QTime(8, 50, 1)));
}

// A log another program cuts short or extends while it is read (an editor
// saving in place, truncate): the reading ends with a message, never a crash,
// whenever the change comes.
void TestLogReader::fileChangedWhileRead_data()
{
    QTest::addColumn<int>("reads");
    QTest::addColumn<qint64>("newSize");
    QTest::addColumn<ReadStatus>("status");
    QTest::newRow("cut short while lines are counted") << 1 << qint64(1000) << ReadStatus::Changed;
    QTest::newRow("emptied while lines are counted") << 1 << qint64(0) << ReadStatus::Changed;
    QTest::newRow("cut short while lines are read") << 5 << qint64(100000) << ReadStatus::Changed;
    QTest::newRow("extended while lines are read") << 5 << qint64(8 << 20) << ReadStatus::Changed;
    QTest::newRow("extended while lines are counted") << 1 << qint64(8 << 20) << ReadStatus::Changed;
    QTest::newRow("unchanged") << 1000 << qint64(0) << ReadStatus::Ok;
}

void TestLogReader::fileChangedWhileRead()
{
    QFETCH(int, reads);
    QFETCH(qint64, newSize);
    QFETCH(ReadStatus, status);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    std::vector<Row> rows(40000, Row{-20, -21, -22, -23, -20, -21, -22, -23}); // over 3 MB
    const QByteArray text = gaugeLog(rows);
    QVERIFY(text.size() > 3 << 20);
    QVERIFY(writeTestFile(path, text));
    ChangingFile file(path, reads, newSize);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const ReadResult result = readLogDevice(file, path, BadLinePolicy::Skip);
    QCOMPARE(result.status, status);
    if (status == ReadStatus::Ok) {
        QCOMPARE(result.session.readingCount(), rows.size());
    } else {
        QVERIFY(result.session.isEmpty());
        QVERIFY2(result.errorText.contains(QStringLiteral("changed while it was read")),
                 qPrintable(result.errorText));
    }
}

// Files that are not plain logs: refused with their reason, never waited
// on (a pipe) or read without end (a device).
void TestLogReader::fileKinds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ReadStatus>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("pipe") << "fifo" << ReadStatus::CannotOpen << "is not a regular file";
    QTest::newRow("link to /dev/zero") << "zero" << ReadStatus::CannotOpen << "is not a regular file";
    QTest::newRow("/dev/zero itself")
        << "device" << ReadStatus::CannotOpen << "is not a regular file";
    QTest::newRow("nothing there") << "missing" << ReadStatus::CannotOpen
                                   << "EMEDIE7_12_2026_8_50_1.txt";
    QTest::newRow("empty") << "empty" << ReadStatus::NoReadings << "";
    QTest::newRow("link to a log") << "link" << ReadStatus::Ok << "";
    QTest::newRow("folder") << "folder" << ReadStatus::CannotOpen << "is a folder";
    QTest::newRow("beyond the size limit") << "huge" << ReadStatus::TooLarge << "too large";
    QTest::newRow("a number too small to tell from zero") << "tiny" << ReadStatus::Ok << "";
}

void TestLogReader::fileKinds()
{
    QFETCH(QString, kind);
    QFETCH(ReadStatus, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_8_50_1.txt"));
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    const QByteArray good = gaugeLog({Row{-20, -21, -22, -23, -20, -21, -22, -23}});
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == QLatin1String("link"))
        QVERIFY(writeTestFile(target, good) && QFile::link(target, path));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QLatin1String("empty"))
        QVERIFY(writeTestFile(path, QByteArray()));
    else if (kind == QLatin1String("huge"))
        QVERIFY(writeTestFile(path, good) && QFile::resize(path, kMaxLogBytes + 1)); // sparse
    else if (kind == QLatin1String("tiny"))
        QVERIFY(writeTestFile(path,
                              "1e-330,-1e-400,0.0000000000000000000000000000000000000000000001,"
                              "4,5,6,7,8\r\n"));
    const ReadResult result = readLogFile(
        kind == QLatin1String("device") ? QStringLiteral("/dev/zero") : path, BadLinePolicy::Stop);
    QCOMPARE(result.status, status);
    QVERIFY2(result.errorText.contains(message), qPrintable(result.errorText));
    if (kind == QLatin1String("link")) {
        QCOMPARE(result.session.raw(3).at(0), -23.0f);
        QVERIFY(result.session.recordedAt.has_value()); // the link's name, as the user named it
    }
    if (kind == QLatin1String("tiny")) {
        QCOMPARE(result.session.raw(0).at(0), 0.0f);
        QVERIFY(std::signbit(result.session.raw(1).at(0)));
        QCOMPARE(result.session.raw(2).at(0), 0.0f);
        QCOMPARE(result.session.impossibleValues + result.session.nonFiniteValues, std::size_t(0));
    }
}

QTEST_GUILESS_MAIN(TestLogReader)
#include "test_logreader.moc"
