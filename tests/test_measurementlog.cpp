#include "measurementlog.h"
#include "scratchdirectory.h"
#include "testlog.h"
#include "usermessages.h"

#include <QtTest>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(CylinderValues)
Q_DECLARE_METATYPE(LogSaveResult)
Q_DECLARE_METATYPE(QFileDevice::FileError)

namespace {

constexpr float qnan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float largest = std::numeric_limits<float>::max();

QString lineFor(const CylinderValues &readings, const CylinderValues &averages)
{
    QString line;
    writeLogLine(line, readings, averages);
    return line;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot open ") + path.toLocal8Bit() + '>';
    return file.readAll();
}

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// A text of whole log lines, at least `size` characters long.
QString logOfSize(int size)
{
    QString text;
    while (text.size() < size)
        writeLogLine(text, {-20.5f, -21.25f, -19.75f, -20.0f}, {-20.1f, -21.3f, -19.9f, -20.2f});
    return text;
}

// Italian default locale for Qt and, where installed, for the C library.
class CommaLocale
{
public:
    CommaLocale()
        : savedDefault(QLocale())
    {
        if (const char *current = std::setlocale(LC_NUMERIC, nullptr))
            savedNumeric = current;
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        cLibraryChanged = std::setlocale(LC_NUMERIC, "it_IT.UTF-8") != nullptr;
    }
    ~CommaLocale()
    {
        QLocale::setDefault(savedDefault);
        std::setlocale(LC_NUMERIC, savedNumeric.constData());
    }
    CommaLocale(const CommaLocale &) = delete;
    CommaLocale &operator=(const CommaLocale &) = delete;

    bool cLibraryChanged = false;

private:
    QLocale savedDefault;
    QByteArray savedNumeric = "C";
};

} // namespace

class TestMeasurementLog : public QObject
{
    Q_OBJECT

private slots:
    void logLine_data();
    void logLine();
    void unusualValuesStayOnOneLine_data();
    void unusualValuesStayOnOneLine();
    void linesAccumulate();
    void commaLocaleChangesNothing();
    void fileName_data();
    void fileName();
    void writesBytesUnchanged_data();
    void writesBytesUnchanged();
    void replacesExistingFile();
    void removedWorkingDirectoryFailsToOpen();
    void failedWriteKeepsEarlierFile_data();
    void failedWriteKeepsEarlierFile();
    void logBound_data();
    void logBound();
    void saveFailedMessage_data();
    void saveFailedMessage();
    void savedMessage_data();
    void savedMessage();
};

void TestMeasurementLog::logLine_data()
{
    QTest::addColumn<CylinderValues>("readings");
    QTest::addColumn<CylinderValues>("averages");
    QTest::addColumn<QString>("expected");

    QTest::newRow("widened from single precision")
        << CylinderValues{101.3f, 100, 99.5f, -3.25f} << CylinderValues{-20.5f, 0.1f, 1e-7f, 15}
        << QStringLiteral("101.300003,100.000000,99.500000,-3.250000,"
                          "-20.500000,0.100000,0.000000,15.000000\r\n");
    QTest::newRow("below one and no grouping")
        << CylinderValues{0.5f, -0.75f, 1234567.0f, -1234567.0f}
        << CylinderValues{0.0f, 0.0000006f, -0.0000015f, 16777216.0f}
        << QStringLiteral("0.500000,-0.750000,1234567.000000,-1234567.000000,"
                          "0.000000,0.000001,-0.000002,16777216.000000\r\n");
    QTest::newRow("largest float in full, no exponent")
        << CylinderValues{largest, -largest, 1e10f, -1e10f} << CylinderValues{1, 2, 3, 4}
        << QStringLiteral("340282346638528859811704183484516925440.000000,"
                          "-340282346638528859811704183484516925440.000000,"
                          "10000000000.000000,-10000000000.000000,"
                          "1.000000,2.000000,3.000000,4.000000\r\n");
}

void TestMeasurementLog::logLine()
{
    QFETCH(CylinderValues, readings);
    QFETCH(CylinderValues, averages);
    QFETCH(QString, expected);

    QCOMPARE(lineFor(readings, averages), expected);
}

void TestMeasurementLog::unusualValuesStayOnOneLine_data()
{
    QTest::addColumn<CylinderValues>("readings");
    QTest::addColumn<CylinderValues>("averages");

    QTest::newRow("NaN") << CylinderValues{qnan, -qnan, 1, 2} << CylinderValues{qnan, 3, 4, 5};
    QTest::newRow("infinities") << CylinderValues{inf, -inf, 1, 2} << CylinderValues{inf, -inf, 3, 4};
    QTest::newRow("negative zero") << CylinderValues{-0.0f, 0, -0.0f, 0}
                                   << CylinderValues{-0.0f, -0.0f, 0, 0};
    QTest::newRow("huge") << CylinderValues{largest, -largest, largest, -largest}
                          << CylinderValues{largest, -largest, largest, -largest};
    QTest::newRow("denormals") << CylinderValues{std::numeric_limits<float>::denorm_min(), -1e-40f, 0,
                                                 0}
                               << CylinderValues{1e-40f, 0, 0, 0};
}

void TestMeasurementLog::unusualValuesStayOnOneLine()
{
    QFETCH(CylinderValues, readings);
    QFETCH(CylinderValues, averages);

    const QString line = lineFor(readings, averages);
    QVERIFY2(line.endsWith(QLatin1String("\r\n")), qPrintable(line));
    const QString body = line.chopped(2);
    QVERIFY2(!body.contains(QLatin1Char('\r')) && !body.contains(QLatin1Char('\n')),
             qPrintable(line));
    QCOMPARE(body.count(QLatin1Char(',')), 7);

    const QStringList fields = body.split(QLatin1Char(','));
    const QRegularExpression fixedPoint(QStringLiteral("^-?(0|[1-9][0-9]*)\\.[0-9]{6}$"));
    for (int i = 0; i < fields.size(); ++i) {
        const float value = i < 4 ? readings[std::size_t(i)] : averages[std::size_t(i - 4)];
        QVERIFY2(!fields[i].isEmpty(), qPrintable(line));
        if (std::isfinite(value))
            QVERIFY2(fixedPoint.match(fields[i]).hasMatch(), qPrintable(fields[i]));
    }
}

void TestMeasurementLog::linesAccumulate()
{
    QString log = QStringLiteral("1.000000,2.000000,3.000000,4.000000,"
                                 "1.000000,2.000000,3.000000,4.000000\r\n");
    const QString first = log;
    writeLogLine(log, {-20, -22, -19, -21}, {-20, -21, -19.5f, -21});
    QCOMPARE(log,
             first
                 + QStringLiteral("-20.000000,-22.000000,-19.000000,-21.000000,"
                                  "-20.000000,-21.000000,-19.500000,-21.000000\r\n"));
}

void TestMeasurementLog::commaLocaleChangesNothing()
{
    const CylinderValues readings{101.3f, 1234.5f, -99.5f, -3.25f};
    const CylinderValues averages{1000000.25f, 0.5f, -0.5f, 12345.5f};
    const QString expectedLine = QStringLiteral("101.300003,1234.500000,-99.500000,-3.250000,"
                                                "1000000.250000,0.500000,-0.500000,12345.500000\r\n");
    const QString expectedName = QStringLiteral("log_A_B_C_D_EMEDIE31_12_2016_23_59_59.txt");

    CommaLocale italian;
    QCOMPARE(QLocale().decimalPoint(), QChar(','));
    if (!italian.cLibraryChanged)
        qInfo("it_IT.UTF-8 is not installed; only Qt's default locale is Italian");

    QCOMPARE(lineFor(readings, averages), expectedLine);
    QCOMPARE(logFileName(QStringLiteral("log_A_B_C_D_EMEDIE"), QDate(2016, 12, 31),
                         QTime(23, 59, 59)),
             expectedName);
}

void TestMeasurementLog::fileName_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");

    const QString salva = QStringLiteral("log_A_B_C_D_EMEDIE");
    const QString top = QStringLiteral("TOP_log_A_B_C_D_EMEDIE");
    QTest::newRow("Salva, one-digit pieces")
        << salva << QDate(2016, 2, 6) << QTime(9, 5, 3) << "log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt";
    QTest::newRow("TOP, one-digit pieces")
        << top << QDate(2016, 2, 6) << QTime(9, 5, 3) << "TOP_log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt";
    QTest::newRow("two-digit pieces") << salva << QDate(2016, 12, 31) << QTime(23, 59, 59)
                                      << "log_A_B_C_D_EMEDIE31_12_2016_23_59_59.txt";
    QTest::newRow("TOP, two-digit pieces") << top << QDate(2016, 12, 31) << QTime(23, 59, 59)
                                           << "TOP_log_A_B_C_D_EMEDIE31_12_2016_23_59_59.txt";
    QTest::newRow("midnight") << salva << QDate(2000, 1, 1) << QTime(0, 0, 0)
                              << "log_A_B_C_D_EMEDIE1_1_2000_0_0_0.txt";
    QTest::newRow("ten o'clock, ten past ten") << salva << QDate(2024, 10, 10) << QTime(10, 10, 10)
                                               << "log_A_B_C_D_EMEDIE10_10_2024_10_10_10.txt";
    QTest::newRow("milliseconds ignored") << top << QDate(2031, 7, 20) << QTime(0, 1, 2, 999)
                                          << "TOP_log_A_B_C_D_EMEDIE20_7_2031_0_1_2.txt";
    // A prefix that looks like a placeholder must come through untouched.
    QTest::newRow("literal percent prefix") << QStringLiteral("%1%2_") << QDate(2016, 2, 6)
                                            << QTime(9, 5, 3) << "%1%2_6_2_2016_9_5_3.txt";
}

void TestMeasurementLog::fileName()
{
    QFETCH(QString, prefix);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QString, expected);

    QCOMPARE(logFileName(prefix, date, time), expected);
}

void TestMeasurementLog::writesBytesUnchanged_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty log") << QString();
    QTest::newRow("one line") << QStringLiteral("101.300003,100.000000,99.500000,-3.250000,"
                                                "101.300003,100.000000,99.500000,-3.250000\r\n");
    QTest::newRow("bare CR and LF stay as they are") << QStringLiteral("a\rb\nc\r\n\n\r");
    QTest::newRow("one megabyte") << logOfSize(1 << 20);
}

void TestMeasurementLog::writesBytesUnchanged()
{
    QFETCH(QString, text);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt"));

    QCOMPARE(writeLogFile(path, text), LogSaveResult::Saved);
    const QByteArray written = fileBytes(path);
    QCOMPARE(written.size(), text.size());
    QVERIFY(written == text.toLatin1());
    QCOMPARE(entriesOf(dir.path()), QStringList{QFileInfo(path).fileName()});
}

void TestMeasurementLog::replacesExistingFile()
{
    ScratchDirectory dir;
    QVERIFY(dir.isValid());

    // Relative name, resolved against the working directory.
    const QString name = QStringLiteral("TOP_log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt");
    QVERIFY(writeTestFile(name, QByteArray(10000, 'x')));

    const QString shorter = QStringLiteral("1.000000,2.000000,3.000000,4.000000,"
                                           "1.000000,2.000000,3.000000,4.000000\r\n");
    QCOMPARE(writeLogFile(name, shorter), LogSaveResult::Saved);
    QCOMPARE(fileBytes(dir.filePath(name)), shorter.toLatin1());

    QCOMPARE(writeLogFile(name, QString()), LogSaveResult::Saved);
    QCOMPARE(fileBytes(dir.filePath(name)), QByteArray());
    QCOMPARE(entriesOf(dir.path()), QStringList{name});
}

void TestMeasurementLog::removedWorkingDirectoryFailsToOpen()
{
    // Root ignores permission bits, so a directory that no longer exists is
    // the one that cannot be written.
    const QString name = QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt");
    const QString previous = QDir::currentPath();
    {
        ScratchDirectory parent;
        QVERIFY(parent.isValid());
        const QString gone = QDir(parent.path()).filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone));
        QVERIFY(QDir::setCurrent(gone));
        QVERIFY(QDir().rmdir(gone));

        LogSaveFailure failure;
        QCOMPARE(writeLogFile(name, logOfSize(200), &failure), LogSaveResult::OpenFailed);
        QCOMPARE(failure.error, QFileDevice::OpenError);
        QVERIFY(!failure.reason.isEmpty());
        QCOMPARE(writeLogFile(name, QString()), LogSaveResult::OpenFailed);
        // Nothing landed anywhere else instead.
        QVERIFY(entriesOf(parent.path()).isEmpty());
    }
    QCOMPARE(QDir::currentPath(), previous);
    QVERIFY(!QFileInfo::exists(QLatin1Char('/') + name));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath(name)));
}

void TestMeasurementLog::failedWriteKeepsEarlierFile_data()
{
    QTest::addColumn<int>("textSize");

    // Below and above Qt's 16 KiB write buffer: the error surfaces either
    // when the file is completed or in the write itself.
    QTest::newRow("just past the limit") << 4097;
    QTest::newRow("buffered") << 10000;
    QTest::newRow("larger than the buffer") << 100000;
    QTest::newRow("one megabyte") << (1 << 20);
}

void TestMeasurementLog::failedWriteKeepsEarlierFile()
{
    QFETCH(int, textSize);

    enum ChildExit { Failed = 10, Saved, OpenFailed, NoLimit, FailedUnexplained };
    constexpr rlim_t limit = 4096;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt");
    const QByteArray earlier = logOfSize(1000).toLatin1();
    QVERIFY(writeTestFile(dir.filePath(name), earlier));
    const QString text = logOfSize(textSize);
    QVERIFY(text.size() > int(limit));

    const pid_t child = fork();
    QVERIFY2(child >= 0, strerror(errno));
    if (child == 0) {
        // Past the limit a write fails with EFBIG instead of killing us.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0
            || chdir(QFile::encodeName(dir.path()).constData()) != 0)
            _exit(NoLimit);
        LogSaveFailure failure;
        switch (writeLogFile(name, text, &failure)) {
        case LogSaveResult::WriteFailed:
            // The reason is the write's, not that of the cancelled save.
            _exit(failure.error == QFileDevice::WriteError && failure.reason == "File too large"
                      ? Failed
                      : FailedUnexplained);
        case LogSaveResult::Saved:
            _exit(Saved);
        case LogSaveResult::OpenFailed:
            _exit(OpenFailed);
        }
        _exit(1);
    }

    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the writing process did not exit normally");
    QCOMPARE(WEXITSTATUS(status), int(Failed));

    const QByteArray kept = fileBytes(dir.filePath(name));
    QCOMPARE(kept.size(), earlier.size());
    QVERIFY(kept == earlier);
    QCOMPARE(entriesOf(dir.path()), QStringList{name});
}

// A log bounded at `lines` whole lines plus `extra` characters: which
// appends are logged, that the first that does not fit leaves the log as it
// was, and that a shorter line may still fit where a long one did not.
void TestMeasurementLog::logBound_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("logged");
    QTest::newRow("exactly three lines") << 3 << 0 << 3;
    QTest::newRow("one character short of three") << 3 << -1 << 2;
    QTest::newRow("three lines and a little") << 3 << 50 << 3;
    QTest::newRow("nothing") << 0 << 0 << 0;
}

void TestMeasurementLog::logBound()
{
    QFETCH(int, lines);
    QFETCH(int, extra);
    QFETCH(int, logged);
    const CylinderValues readings{-20.5f, -21.25f, -19.75f, -20.0f};
    const QString line = lineFor(readings, readings);
    const qsizetype bound = lines * line.size() + extra;
    QString log;

    for (int i = 0; i < logged; ++i)
        QVERIFY(appendWithinBound(log, bound, readings, readings));
    QVERIFY(!appendWithinBound(log, bound, readings, readings));
    QCOMPARE(log, line.repeated(logged));
    QVERIFY(log.size() <= bound);

    // The shortest line there is fits wherever it has room: keeping a full
    // log full is the window's rule, not this function's.
    const QString shortest = lineFor({0, 0, 0, 0}, {0, 0, 0, 0});
    QCOMPARE(appendWithinBound(log, bound, {0, 0, 0, 0}, {0, 0, 0, 0}),
             shortest.size() <= bound - log.size());
}

void TestMeasurementLog::saveFailedMessage_data()
{
    QTest::addColumn<QFileDevice::FileError>("error");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("plain");
    QTest::newRow("disk full") << QFileDevice::ResourceError << "No space left on device"
                               << "disco pieno";
    QTest::newRow("disk full, no text") << QFileDevice::ResourceError << ""
                                        << "disco pieno";
    QTest::newRow("no permission") << QFileDevice::OpenError << "Permission denied"
                                   << "permesso negato";
    QTest::newRow("other text as given") << QFileDevice::WriteError << "Errore di I/O"
                                         << "Errore di I/O";
    QTest::newRow("no reason known") << QFileDevice::WriteError << "Unknown error"
                                     << "errore di scrittura";
}

void TestMeasurementLog::saveFailedMessage()
{
    QFETCH(QFileDevice::FileError, error);
    QFETCH(QString, reason);
    QFETCH(QString, plain);
    QCOMPARE(::saveFailedMessage(error, reason), "Salvataggio non riuscito: " + plain);
}

// The message after a save names the folder and the file, joined once.
void TestMeasurementLog::savedMessage_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    QTest::newRow("home") << "/home/mario"
                          << "log_1.txt"
                          << "/home/mario/log_1.txt";
    QTest::newRow("folder with a blank") << "/home/mario/Log officina"
                                         << "TOP_log_2.txt"
                                         << "/home/mario/Log officina/TOP_log_2.txt";
    QTest::newRow("root") << "/"
                          << "log_3.txt"
                          << "/log_3.txt";
}

void TestMeasurementLog::savedMessage()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QCOMPARE(::savedMessage(folder, file), "Log salvato in " + QDir::toNativeSeparators(shown));
}

QTEST_GUILESS_MAIN(TestMeasurementLog)
#include "test_measurementlog.moc"
