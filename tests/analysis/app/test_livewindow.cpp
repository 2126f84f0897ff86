#include "analysiswindow.h"
#include "livebars.h"
#include "livewaveform.h"
#include "livewindow.h"
#include "logreader.h"
#include "testboard.h"
#include "translations.h"
#include "usermessages.h"

#include <QAction>
#include <QDialog>
#include <QProcess>
#include <QTableWidget>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

// The live tuning window driven through its widgets, on a board on a
// pseudo-terminal, offscreen.
class TestLiveWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tunesOnTheBoard();
    void presetsAndUnits();
    void beforeAndAfterBecomeAReport();
    void lostBoardKeepsTheCapture();
    void italianVerdict();
    void editsPresetsInTheTable();
    void programLiveReport();
    void barsScale_data();
    void barsScale();

private:
    template <typename T>
    static T *find(QWidget &window, const char *name)
    {
        T *widget = window.findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qWarning("no %s", name);
        return widget;
    }

    QTemporaryDir folder;
};

void TestLiveWindow::initTestCase()
{
    QVERIFY(folder.isValid());
}

void TestLiveWindow::tunesOnTheBoard()
{
    EngineConfig config;
    config.offsets = {0.0, 0.0, 3.0, 0.0}; // cylinder 3 far above the others
    TestBoard board(config);
    QVERIFY(board.plugIn());
    LiveWindow window(folder.path(), folder.filePath(QStringLiteral("tune.ini")));
    window.show();
    auto *verdict = find<QLabel>(window, "labelLiveVerdict");
    auto *held = find<QLabel>(window, "labelHeld");
    auto *bars = find<LiveBars>(window, "liveBars");
    auto *problem = find<QLabel>(window, "labelProblem");
    QVERIFY(verdict && held && bars && problem);

    // A port that does not exist: the gauge's plain reason.
    QVERIFY(!window.connectBoard(QStringLiteral("/dev/aspirello-none")));
    QCOMPARE(problem->text(), QStringLiteral("Impossibile aprire aspirello-none: porta non trovata"));

    find<QComboBox>(window, "comboPort")->setCurrentText(board.portName());
    find<QPushButton>(window, "buttonConnect")->click();
    QVERIFY(window.isConnected());
    QVERIFY(problem->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(window.framesTaken() > 30, 5000);
    QTRY_COMPARE(verdict->text(), QStringLiteral("OUT OF SYNC"));
    QTRY_VERIFY(held->text().startsWith(QStringLiteral("out of sync for ")));
    // Four bars, the reference's at zero, cylinder 3 outside the band and drawn so.
    QTRY_COMPARE(bars->bars().size(), std::size_t(4));
    QVERIFY(bars->bars()[0].isReference);
    QTRY_VERIFY(!bars->bars()[2].withinBand && bars->bars()[2].differenceKPa > 1.0);
    QVERIFY(bars->rangeKPa() >= bars->bars()[2].differenceKPa);
    QVERIFY(find<LiveWaveform>(window, "liveWaveform")->frameCount() > 10);

    // The linkage screws: three bars; a wide band takes cylinder 3 in.
    auto *comparison = find<QComboBox>(window, "comboComparison");
    comparison->setCurrentIndex(comparison->findData(int(LiveComparison::LinkageScrews)));
    QTRY_COMPARE(bars->bars().size(), std::size_t(3));
    QCOMPARE(bars->bars()[1].label, QStringLiteral("3+4 − 1+2"));
    find<QDoubleSpinBox>(window, "spinTolerance")->setValue(10.0);
    QTRY_COMPARE(verdict->text(), QStringLiteral("IN SYNC"));
    QTRY_VERIFY(held->text().startsWith(QStringLiteral("in sync for ")));

    // A fixed scale holds whatever the bars do.
    auto *zoom = find<QComboBox>(window, "comboZoom");
    zoom->setCurrentIndex(1);
    find<QDoubleSpinBox>(window, "spinRange")->setValue(20.0);
    QCOMPARE(bars->rangeKPa(), 20.0);

    // Damping and the cycle value are said on screen.
    find<QDoubleSpinBox>(window, "spinDamping")->setValue(1.5);
    QCOMPARE(window.analysis().settings().dampingSeconds, 1.5);
    QVERIFY(find<QLabel>(window, "labelDamping")->text().contains(QStringLiteral("1.5 s")));

    auto *full = find<QAction>(window, "actionFullScreen");
    full->trigger();
    QVERIFY(window.isFullScreen());
    full->trigger();
    QVERIFY(!window.isFullScreen());

    find<QPushButton>(window, "buttonConnect")->click();
    QVERIFY(!window.isConnected());
}

void TestLiveWindow::presetsAndUnits()
{
    const QString presetsFile = folder.filePath(QStringLiteral("presets.ini"));
    {
        LiveWindow window(folder.path(), presetsFile);
        auto *preset = find<QComboBox>(window, "comboPreset");
        // The shipped preset only: Yamaha's inline fours, cylinder 2, 10 mmHg.
        QCOMPARE(preset->count(), 2);
        QVERIFY(preset->itemText(1).startsWith(QStringLiteral("Yamaha")));
        preset->setCurrentIndex(1);
        QMetaObject::invokeMethod(preset, "activated", Q_ARG(int, 1));
        QCOMPARE(window.liveSettings().referenceCylinder, 2);
        QVERIFY(std::fabs(window.liveSettings().toleranceKPa - 1.33322) < 1e-4);
        auto *unit = find<QComboBox>(window, "comboUnit");
        unit->setCurrentIndex(unit->findData(int(Unit::MmHg)));
        QCOMPARE(find<QDoubleSpinBox>(window, "spinTolerance")->value(), 10.0);
        QCOMPARE(preset->currentIndex(), 1);
        // An own tolerance is no longer the preset.
        find<QDoubleSpinBox>(window, "spinTolerance")->setValue(7.5);
        QCOMPARE(preset->currentIndex(), 0);

        std::vector<WorkshopPreset> own = window.presets();
        own.push_back(WorkshopPreset{QStringLiteral("Officina: 1/100 bar, cilindro 1"), 1, 1.0});
        window.setPresets(own);
        QCOMPARE(preset->count(), 3);
    }
    // Kept in the configuration; an entry that is not sound is left out.
    QSettings stored(presetsFile, QSettings::IniFormat);
    std::vector<WorkshopPreset> presets = loadPresets(stored);
    QCOMPARE(presets.size(), std::size_t(2));
    QCOMPARE(presets[1].name, QStringLiteral("Officina: 1/100 bar, cilindro 1"));
    presets.push_back(WorkshopPreset{QStringLiteral("bad"), 5, 1.0});
    presets.push_back(WorkshopPreset{QStringLiteral("bad too"), 2, -1.0});
    presets.push_back(
        WorkshopPreset{QStringLiteral("endless"), 2, std::numeric_limits<double>::infinity()});
    presets.push_back(WorkshopPreset{QString(), 2, 1.0});
    savePresets(stored, presets);
    QCOMPARE(loadPresets(stored).size(), std::size_t(2));
    for (const WorkshopPreset &unsound :
         {WorkshopPreset{QStringLiteral("zero"), 1, 0.0},
          WorkshopPreset{QStringLiteral("no number"), 1, std::nan("")},
          WorkshopPreset{QStringLiteral("endless"), 1, std::numeric_limits<double>::infinity()},
          WorkshopPreset{QStringLiteral("no cylinder"), 0, 1.0}})
        QVERIFY2(!isSoundPreset(unsound), qPrintable(unsound.name));
    QVERIFY(isSoundPreset(WorkshopPreset{QStringLiteral("four"), 4, 0.01}));
    // An emptied table stays empty: the shipped entries do not come back.
    savePresets(stored, {});
    QVERIFY(loadPresets(stored).empty());
    QSettings fresh(folder.filePath(QStringLiteral("fresh.ini")), QSettings::IniFormat);
    QCOMPARE(loadPresets(fresh), shippedPresets());
}

void TestLiveWindow::beforeAndAfterBecomeAReport()
{
    QTemporaryDir captures;
    QVERIFY(captures.isValid());
    TestBoard board;
    QVERIFY(board.plugIn());
    AnalysisWindow analysis(folder.filePath(QStringLiteral("calibration.json")));
    analysis.show();
    auto *connect = analysis.findChild<QAction *>(QStringLiteral("actionLive"));
    QVERIFY(connect);
    QCOMPARE(connect->text(), QStringLiteral("Connect board…"));
    LiveWindow *live = analysis.openLiveWindow();
    QVERIFY(live && live->isVisible());
    // The captures go to the folder the analysis was started in.
    const QString previous = QDir::currentPath();
    Q_UNUSED(previous);

    QVERIFY(live->connectBoard(board.portName()));
    auto *before = find<QPushButton>(*live, "buttonBefore");
    auto *after = find<QPushButton>(*live, "buttonAfter");
    auto *compare = find<QPushButton>(*live, "buttonCompare");
    QVERIFY(!compare->isEnabled());
    before->click();
    quint64 start = live->framesTaken();
    QTRY_VERIFY_WITH_TIMEOUT(live->framesTaken() > start + 20, 5000);
    // "After" ends "Before" and saves it.
    after->click();
    QVERIFY(!before->isChecked());
    QVERIFY(!live->beforeLog().isEmpty());
    start = live->framesTaken();
    QTRY_VERIFY_WITH_TIMEOUT(live->framesTaken() > start + 20, 5000);
    after->click();
    QVERIFY(!live->afterLog().isEmpty());
    QVERIFY(live->beforeLog() != live->afterLog());
    QVERIFY(compare->isEnabled());
    for (const QString &path : {live->beforeLog(), live->afterLog()}) {
        QVERIFY2(QFileInfo(path).fileName().startsWith(QLatin1String(kLogFilePrefix)),
                 qPrintable(path));
        const ReadResult read = readLogFile(path, BadLinePolicy::Stop);
        QVERIFY(read.ok());
        QVERIFY(read.session.readingCount() >= 20);
    }

    compare->click();
    QCOMPARE(analysis.sessions().size(), std::size_t(2));
    const QString report = folder.filePath(QStringLiteral("beforeafter.svg"));
    QVERIFY(analysis.exportReport(report));
    QVERIFY(QFileInfo(report).size() > 0);
    for (const QString &path : {live->beforeLog(), live->afterLog()})
        QFile::remove(path);
}

void TestLiveWindow::lostBoardKeepsTheCapture()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    LiveWindow window(folder.path(), folder.filePath(QStringLiteral("lost.ini")));
    auto *problem = find<QLabel>(window, "labelProblem");
    // A board that does not answer is told, and the text goes once it does.
    board.setSilent(true);
    QVERIFY(window.connectBoard(board.portName()));
    const QString shown = LiveSource::shownPortName(board.portName());
    QTRY_COMPARE_WITH_TIMEOUT(problem->text(), noAnswerMessage(shown), 5000);
    QVERIFY(!problem->isHidden());
    board.setSilent(false);
    QTRY_VERIFY_WITH_TIMEOUT(problem->isHidden(), 5000);

    const quint64 atClick = window.framesTaken();
    find<QPushButton>(window, "buttonBefore")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window.framesTaken() > atClick + 10, 5000);
    board.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isConnected(), 5000);
    QCOMPARE(problem->text(), boardLostMessage());
    QCOMPARE(find<QPushButton>(window, "buttonConnect")->text(), QStringLiteral("Connect"));
    QVERIFY(!window.beforeLog().isEmpty());
    const ReadResult read = readLogFile(window.beforeLog(), BadLinePolicy::Stop);
    QVERIFY(read.ok());
    // Every frame since "Prima" was pressed, up to the loss.
    QCOMPARE(read.session.readingCount(), std::size_t(window.framesTaken() - atClick));
    QFile::remove(window.beforeLog());
}

void TestLiveWindow::italianVerdict()
{
    QVERIFY(installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("it_IT"))));
    QCOMPARE(liveVerdictTitle(true), QStringLiteral("IN SINCRONIA"));
    QCOMPARE(liveVerdictTitle(false), QStringLiteral("FUORI SINCRONIA"));
    LiveVerdict verdict;
    verdict.update(0.0, {0.1}, 1.0);
    verdict.update(12.4, {0.1}, 1.0);
    QCOMPARE(liveVerdictHeldText(verdict), QStringLiteral("in sincronia da 12 s"));
    AnalysisWindow analysis(folder.filePath(QStringLiteral("calibration.json")));
    QCOMPARE(analysis.findChild<QAction *>(QStringLiteral("actionLive"))->text(),
             QStringLiteral("Collega scheda…"));
    LiveWindow window(folder.path(), folder.filePath(QStringLiteral("it.ini")));
    QCOMPARE(find<QPushButton>(window, "buttonBefore")->text(), QStringLiteral("Prima"));
    QCOMPARE(find<QPushButton>(window, "buttonAfter")->text(), QStringLiteral("Dopo"));
}

// The presets' table, edited as a user does: a row added with a tolerance in
// the unit shown, an incomplete row left out.
void TestLiveWindow::editsPresetsInTheTable()
{
    LiveWindow window(folder.path(), folder.filePath(QStringLiteral("edit.ini")));
    auto *unit = find<QComboBox>(window, "comboUnit");
    unit->setCurrentIndex(unit->findData(int(Unit::MmHg)));
    bool edited = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = window.findChild<QDialog *>(QStringLiteral("dialogPresets"));
        QVERIFY(dialog);
        auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tablePresets"));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("10.0"));
        auto *add = dialog->findChild<QPushButton *>(QStringLiteral("buttonAddPreset"));
        add->click();
        table->item(1, 0)->setText(QStringLiteral("Officina, 1/100 bar"));
        table->item(1, 1)->setText(QStringLiteral("3"));
        table->item(1, 2)->setText(QStringLiteral("7.5"));
        add->click(); // left without a name
        table->item(2, 0)->setText(QString());
        edited = true;
        dialog->accept();
    });
    find<QPushButton>(window, "buttonEditPresets")->click();
    QVERIFY(edited);
    QCOMPARE(window.presets().size(), std::size_t(2));
    QCOMPARE(window.presets()[1].referenceCylinder, 3);
    QVERIFY(std::fabs(window.presets()[1].toleranceKPa - 1.0) < 1e-3); // 7.5 mmHg
    QSettings stored(folder.filePath(QStringLiteral("edit.ini")), QSettings::IniFormat);
    QCOMPARE(loadPresets(stored), window.presets());
    auto *preset = find<QComboBox>(window, "comboPreset");
    QCOMPARE(preset->itemText(2), QStringLiteral("Officina, 1/100 bar"));
}

// The program itself: --live PORT --for SECONDS --report, the board in this
// process.
void TestLiveWindow::programLiveReport()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    const QString report = folder.filePath(QStringLiteral("live.png"));
    QProcess program;
    program.setProcessChannelMode(QProcess::SeparateChannels);
    QSignalSpy finished(&program, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    program.start(QStringLiteral(ASPIRELLO_ANALISI),
                  {QStringLiteral("--live"), board.portName(), QStringLiteral("--for"),
                   QStringLiteral("1.5"), QStringLiteral("--report"), report});
    // The board answers from this process's event loop while the program runs.
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 30000);
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(out.contains(QStringLiteral("Live verdict at the end: ")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("Report written to ")), qPrintable(out));
    QVERIFY(QFileInfo(report).size() > 0);
    QVERIFY(board.pollsReceived() > 20);

    // The board gone: exit code 8 and the gauge's words.
    const QString port = board.portName();
    board.unplug();
    QSignalSpy failed(&program, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    program.start(QStringLiteral(ASPIRELLO_ANALISI),
                  {QStringLiteral("--live"), port, QStringLiteral("--for=1"),
                   QStringLiteral("--csv")});
    QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), 30000);
    QCOMPARE(program.exitCode(), 8);
    QVERIFY(QString::fromLocal8Bit(program.readAllStandardError())
                .contains(QStringLiteral("Impossibile aprire")));
}

// The automatic scale: a round number in the unit shown, at least twice the
// band and a tenth more than the largest bar; a fixed one holds.
void TestLiveWindow::barsScale_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("largest"); // kPa
    QTest::addColumn<double>("range");   // in the unit
    QTest::newRow("band decides") << int(Unit::KPa) << 1.0 << 0.2 << 2.0;
    QTest::newRow("bar decides") << int(Unit::KPa) << 1.0 << 3.2 << 5.0;
    QTest::newRow("bar just under") << int(Unit::KPa) << 0.2 << 0.9 << 1.0;
    QTest::newRow("negative bar") << int(Unit::KPa) << 0.2 << -4.6 << 10.0;
    QTest::newRow("mmHg band") << int(Unit::MmHg) << toKPa(10, Unit::MmHg) << 0.0 << 20.0;
    QTest::newRow("mmHg bar") << int(Unit::MmHg) << toKPa(10, Unit::MmHg) << toKPa(50, Unit::MmHg)
                              << 100.0;
    QTest::newRow("cmHg small") << int(Unit::CmHg) << toKPa(0.1, Unit::CmHg) << 0.0 << 0.2;
    QTest::newRow("not finite bar") << int(Unit::KPa) << 1.0 << qQNaN() << 2.0;
}

void TestLiveWindow::barsScale()
{
    QFETCH(int, unit);
    QFETCH(double, tolerance);
    QFETCH(double, largest);
    QFETCH(double, range);
    LiveBars bars;
    bars.resize(400, 300);
    bars.setUnit(Unit(unit));
    LiveSettings settings;
    settings.toleranceKPa = tolerance;
    std::vector<LiveBar> shown = liveBarsFor(settings);
    shown[1].differenceKPa = largest;
    shown[2].differenceKPa = -0.5 * tolerance;
    bars.setBars(shown, tolerance);
    QVERIFY(std::fabs(fromKPa(bars.rangeKPa(), Unit(unit)) - range) < 1e-9 * range);
    // Painted with these values (a wrong access shows under the sanitizers).
    bars.grab();
    // A scale the user fixed stays, even for a bar beyond it (drawn with
    // an arrow at its end).
    bars.setFixedRange(30.0);
    QCOMPARE(bars.rangeKPa(), 30.0);
    std::vector<LiveBar> beyond = shown;
    beyond[1].differenceKPa = -45.0;
    bars.setBars(beyond, tolerance);
    QCOMPARE(bars.rangeKPa(), 30.0);
    bars.grab();
    bars.setBars(shown, tolerance);
    QCOMPARE(bars.rangeKPa(), 30.0);
    bars.setFixedRange(std::nullopt);
    QVERIFY(std::fabs(fromKPa(bars.rangeKPa(), Unit(unit)) - range) < 1e-9 * range);
}

QTEST_MAIN(TestLiveWindow)
#include "test_livewindow.moc"
