// The measurement log through the real window: frames from a pseudo-terminal
// board, then "Salva", "TOP" and "Reset", with the files they leave in the
// working directory.
#include "mainwindow.h"
#include "scratchdirectory.h"
#include "windowrig.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLCDNumber>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTime>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString salvaSlot = QStringLiteral("void MainWindow::on_button_startSampling_clicked()");
const QString topSlot = QStringLiteral("void MainWindow::on_button_startSampling_3_clicked()");
const char *const salvaPrefix = "log_A_B_C_D_EMEDIE";

const QByteArray firstLine =
    "101.300003,100.000000,99.500000,-3.250000,101.300003,100.000000,99.500000,-3.250000\r\n";
// Averages of the first two frames, each in single precision.
const QByteArray secondLine =
    "-20.500000,-21.250000,-19.750000,-20.000000,40.400002,39.375000,39.875000,-11.625000\r\n";

// The file name for a moment, as the user would read it off the clock.
QString nameAt(const char *prefix, const QDate &date, const QTime &time)
{
    return QString::asprintf("%s%d_%d_%d_%d_%d_%d.txt", prefix, date.day(), date.month(), date.year(),
                             time.hour(), time.minute(), time.second());
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot be read>";
    return file.readAll();
}

struct Rig : WindowRig
{
    QLCDNumber *tardu = nullptr;
    QPushButton *salva = nullptr;
    QPushButton *top = nullptr;
    QPushButton *reset = nullptr;
    QStatusBar *status = nullptr;

    bool setUp()
    {
        status = child<QStatusBar>(&window, "statusBar");
        tardu = child<QLCDNumber>(&window, "Tardu");
        salva = child<QPushButton>(&window, "button_startSampling");
        reset = child<QPushButton>(&window, "button_startSampling_2");
        top = child<QPushButton>(&window, "button_startSampling_3");
        return tardu && salva && top && reset && status && showWithBoard() && connectBoard();
    }

    bool twoFrames()
    {
        return frame({101.3f, 100.f, 99.5f, -3.25f}) && frame({-20.5f, -21.25f, -19.75f, -20.f});
    }


    // The file name that the last save of slot announced, without quotes.
    QString announcedName(const QString &slot) const
    {
        const QStringList lines = messages.textsFrom(slot);
        for (int i = lines.size() - 1; i >= 0; --i) {
            if (lines[i].size() > 2 && lines[i].startsWith('"') && lines[i].endsWith('"'))
                return lines[i].mid(1, lines[i].size() - 2);
        }
        return QString();
    }
};

} // namespace

class TestLogFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void save_data();
    void save();
    void resetEmptiesLog();
    void laterSaveRepeatsEarlierLines();
    void removedDirectory();
    void failedWriteKeepsEarlierFile();
    void boundedLog();

private:
    std::unique_ptr<ScratchDirectory> directory;
};

void TestLogFiles::init()
{
    directory = std::make_unique<ScratchDirectory>();
    QVERIFY(directory->isValid());
}

void TestLogFiles::cleanup()
{
    directory.reset();
    QLocale::setDefault(QLocale::c());
}

void TestLogFiles::save_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("locale");
    QTest::newRow("Salva") << "button_startSampling" << QByteArray(salvaPrefix) << salvaSlot << "C";
    QTest::newRow("TOP") << "button_startSampling_3" << QByteArray("TOP_log_A_B_C_D_EMEDIE")
                         << topSlot << "C";
    QTest::newRow("Salva, comma locale")
        << "button_startSampling" << QByteArray(salvaPrefix) << salvaSlot << "de_DE";
}

// One CR LF line per accepted frame, named after the clock at the click.
void TestLogFiles::save()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, prefix);
    QFETCH(QString, slot);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.twoFrames());
    auto *saveButton = child<QPushButton>(&rig.window, button.toLatin1().constData());
    QVERIFY(saveButton);

    const QDate dateBefore = QDate::currentDate();
    const QTime timeBefore = QTime::currentTime();
    rig.click(saveButton);
    const QDate dateAfter = QDate::currentDate();
    const QTime timeAfter = QTime::currentTime();

    const QStringList files = QDir().entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    const QStringList names{nameAt(prefix, dateBefore, timeBefore),
                            nameAt(prefix, dateAfter, timeAfter),
                            nameAt(prefix, dateBefore, timeAfter)};
    QVERIFY2(names.contains(files.first()), qPrintable(files.first() + " vs " + names.join(' ')));
    QCOMPARE(contents(files.first()), firstLine + secondLine);
    QCOMPARE(rig.messages.textsFrom(slot),
             QStringList({'"' + files.first() + '"', "Salvato correttamente"}));
    // The folder is named as well: a program started from a menu works in a
    // folder the user did not choose.
    QCOMPARE(rig.status->currentMessage(), "Log salvato in " + directory->filePath(files.first()));
}

// Reset empties the log, says so in the status bar (over the message of the
// save before) and writes no debug line; a save then gives an empty file,
// and later frames start the log afresh.
void TestLogFiles::resetEmptiesLog()
{
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.twoFrames());
    rig.click(rig.salva);
    QVERIFY(rig.status->currentMessage().startsWith("Log salvato in "));
    rig.messages.clear();
    rig.click(rig.reset);
    QCOMPARE(rig.status->currentMessage(), QStringLiteral("Log svuotato"));
    QVERIFY(rig.window.measurementLog().isEmpty());
    rig.click(rig.reset);
    QCOMPARE(rig.status->currentMessage(), QStringLiteral("Log svuotato"));
    for (const MessageCapture::Message &message : rig.messages.messages())
        QVERIFY2(message.type != QtDebugMsg, qPrintable(message.text));

    rig.click(rig.salva);
    QCOMPARE(rig.messages.textsFrom(salvaSlot).value(1), QStringLiteral("Salvato correttamente"));
    const QString emptyFile = rig.announcedName(salvaSlot);
    QVERIFY(QFile::exists(emptyFile));
    QCOMPARE(contents(emptyFile), QByteArray());

    QVERIFY(rig.frame({-1.5f, -2.5f, -3.5f, -4.5f}));
    rig.click(rig.top);
    // The averages were not touched by Reset: they still hold both frames.
    QCOMPARE(contents(rig.announcedName(topSlot)),
             QByteArray("-1.500000,-2.500000,-3.500000,-4.500000,"
                        "26.433334,25.416666,25.416666,-9.250000\r\n"));
}

// Saving does not empty the log: a later save holds the earlier lines too.
void TestLogFiles::laterSaveRepeatsEarlierLines()
{
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.frame({101.3f, 100.f, 99.5f, -3.25f}));
    rig.click(rig.salva);
    const QString first = rig.announcedName(salvaSlot);
    QCOMPARE(contents(first), firstLine);

    QVERIFY(rig.frame({-20.5f, -21.25f, -19.75f, -20.f}));
    rig.click(rig.top);
    QCOMPARE(contents(rig.announcedName(topSlot)), firstLine + secondLine);
    QCOMPARE(contents(first), firstLine);
}

// A working directory that has gone cannot take the file: the failure is
// reported, nothing is written anywhere, and the log survives for a save in
// a good directory.
void TestLogFiles::removedDirectory()
{
    Rig rig;
    QVERIFY(rig.setUp());
    QVERIFY(rig.twoFrames());
    QVERIFY(QDir().mkdir("gone"));
    QVERIFY(QDir::setCurrent("gone"));
    QVERIFY(QDir(directory->path()).rmdir("gone"));

    rig.click(rig.salva);
    const QString name = rig.announcedName(salvaSlot);
    QVERIFY(name.startsWith(salvaPrefix));
    QCOMPARE(rig.messages.textsFrom(salvaSlot),
             QStringList({'"' + name + '"', "Errore nell'apertura file"}));
    QVERIFY2(rig.status->currentMessage().startsWith("Salvataggio non riuscito: ")
                 && rig.status->currentMessage().size() > 26,
             qPrintable(rig.status->currentMessage()));
    QVERIFY(QDir(directory->path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(!QFile::exists(QDir::rootPath() + name));

    QVERIFY(QDir::setCurrent(directory->path()));
    rig.messages.clear();
    rig.click(rig.salva);
    QCOMPARE(rig.messages.textsFrom(salvaSlot).value(1), QStringLiteral("Salvato correttamente"));
    QCOMPARE(contents(rig.announcedName(salvaSlot)), firstLine + secondLine);
    QCOMPARE(rig.status->currentMessage(),
             "Log salvato in " + directory->filePath(rig.announcedName(salvaSlot)));
}

// A save that fails part-way (here the file-size limit of a child process)
// is reported, and an earlier file of the same name is left whole.
void TestLogFiles::failedWriteKeepsEarlierFile()
{
    Rig rig;
    QVERIFY(rig.setUp());
    for (int i = 0; i < 4; ++i)
        QVERIFY(rig.twoFrames());

    // Earlier files under every name the save may take in the next minute.
    const QByteArray earlier = "earlier\r\n";
    const QDateTime start = QDateTime::currentDateTime();
    QStringList earlierFiles;
    for (int second = -1; second < 60; ++second) {
        const QDateTime at = start.addSecs(second);
        earlierFiles << nameAt(salvaPrefix, at.date(), at.time());
        QFile file(earlierFiles.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(earlier), qint64(earlier.size()));
    }

    int fds[2];
    QCOMPARE(pipe(fds), 0);
    const pid_t pid = fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        // The child saves under a limit of 100 bytes and reports its lines.
        ::close(fds[0]);
        alarm(30);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        rig.messages.clear();
        rig.salva->click();
        const QByteArray report =
            (rig.messages.textsFrom(salvaSlot) << rig.status->currentMessage()).join('\n').toUtf8();
        const ssize_t written = ::write(fds[1], report.constData(), size_t(report.size()));
        _exit(written == report.size() ? 0 : 1);
    }
    ::close(fds[1]);
    int status = 0;
    const bool ended = QTest::qWaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 30000);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    QByteArray report;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, int(n));
    ::close(fds[0]);
    QVERIFY(ended);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const QStringList lines = QString::fromUtf8(report).split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], QStringLiteral("Errore nella scrittura file"));
    QCOMPARE(lines[2], QStringLiteral("Salvataggio non riuscito: file troppo grande"));
    const QString name = lines[0].mid(1, lines[0].size() - 2);
    if (earlierFiles.contains(name))
        QCOMPARE(contents(name), earlier);
    else
        QVERIFY(!QFile::exists(name));
    // Nothing else is left behind, not even a partial temporary file.
    QStringList left = QDir().entryList(QDir::Files | QDir::Hidden);
    QStringList expected = earlierFiles;
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
    for (const QString &file : earlierFiles)
        QCOMPARE(contents(file), earlier);
}

// A log bounded at two lines: later frames are shown and averaged but not
// logged, which is said once; saves hold the two lines; Reset starts afresh.
void TestLogFiles::boundedLog()
{
    const QString full = QStringLiteral("Log pieno: le nuove letture non vengono registrate");
    Rig rig;
    QVERIFY(rig.setUp());
    rig.window.setLogBound(firstLine.size() + secondLine.size());
    QVERIFY(rig.twoFrames());
    QVERIFY(rig.status->currentMessage().isEmpty());
    QVERIFY(rig.frame({-1.f, -2.f, -3.f, -4.f}));
    QVERIFY(rig.frame({-5.f, -6.f, -7.f, -8.f}));
    QCOMPARE(rig.messages.count("Log pieno"), 1);
    QCOMPARE(rig.status->currentMessage(), full);
    auto *am = child<QLCDNumber>(&rig.window, "AM");
    QVERIFY(am);
    QCOMPARE(am->value(), double((101.3f - 20.5f - 1.f - 5.f) / 4.f));
    // Full until emptied: not even room made afterwards lets a line in, so
    // that the log holds an unbroken run of readings.
    rig.window.setLogBound(kLogBound);
    QVERIFY(rig.frame({-9.f, -9.f, -9.f, -9.f}));
    QCOMPARE(rig.window.measurementLog(), firstLine + secondLine);
    rig.window.setLogBound(firstLine.size() + secondLine.size());

    rig.click(rig.top);
    QCOMPARE(contents(rig.announcedName(topSlot)), firstLine + secondLine);
    QCOMPARE(rig.status->currentMessage(),
             "Log salvato in " + directory->filePath(rig.announcedName(topSlot)));
    rig.click(rig.reset);
    QCOMPARE(rig.status->currentMessage(), QStringLiteral("Log svuotato"));
    QVERIFY(rig.frame({-1.5f, -2.5f, -3.5f, -4.5f}));
    QVERIFY(rig.window.measurementLog().startsWith("-1.500000,-2.500000,-3.500000,-4.500000,"));
    for (int i = 0; i < 5 && rig.messages.count("Log pieno") < 2; ++i)
        QVERIFY(rig.frame({-10.f, -10.f, -10.f, -10.f}));
    QCOMPARE(rig.status->currentMessage(), full);
    rig.click(rig.reset);
    QCOMPARE(rig.status->currentMessage(), QStringLiteral("Log svuotato"));
}

QTEST_MAIN(TestLogFiles)
#include "test_logfiles.moc"
