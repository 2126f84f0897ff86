#include "analysislogs.h"
#include "analysiswindow.h"
#include "sessionchart.h"
#include "syncchoices.h"
#include "translations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QChartView>
#include <QtTest>


// The window as a user drives it: logs opened and dropped, the unit, bad
// lines, the calibration and the export of a report.
class TestAnalysisWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void showsVerdictAndConvertsUnits();
    void referenceAndPollPeriod();
    void dropsTwoLogsForBeforeAndAfter();
    void zoomKeptAcrossUnitAndTolerance();
    void badLinesStopOrAreSkipped();
    void appliesTheStoredCalibration();
    void unusableCalibrationIsNotApplied();
    void calibratingDoesNotApplyByItself();
    void exportsReports();
    void syncChoicesFollowTheUnit_data();
    void syncChoicesFollowTheUnit();
    void syncChoicesBringReferenceWithin();

private:
    template <typename T>
    T *find(AnalysisWindow &window, const char *name)
    {
        return window.findChild<T *>(QString::fromLatin1(name));
    }

    // A calibration of 500 readings made on 1 December 2026 at 8:00.
    static Calibration calibrationOf(const std::array<double, kCylinderCount> &offsetsKPa,
                                     const QString &sourceLog = QStringLiteral("cal.txt"))
    {
        Calibration calibration;
        calibration.createdAt = QDateTime(QDate(2026, 12, 1), QTime(8, 0));
        calibration.sourceLog = sourceLog;
        calibration.readings = 500;
        calibration.offsetsKPa = offsetsKPa;
        return calibration;
    }

    QTemporaryDir folder;
    QString inSyncLog, offLog, badLog;
};

void TestAnalysisWindow::initTestCase()
{
    // As the program does in English: the plural forms ("1 bad line").
    installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("en_GB")));
    QVERIFY(folder.isValid());
    QDir dir(folder.path());
    inSyncLog = writeInSyncLog(dir);
    offLog = writeOffLog(dir);
    // A line of seven fields as line 6.
    badLog = writeTestLog(dir, QLatin1String(kLogFilePrefix), QTime(9, 9, 9), 50, offAverage,
                          "1.0,2.0,3.0,4.0,5.0,6.0,7.0\r\n", 5);
    QVERIFY(!inSyncLog.isEmpty() && !offLog.isEmpty() && !badLog.isEmpty());
}

void TestAnalysisWindow::showsVerdictAndConvertsUnits()
{
    AnalysisWindow window(folder.filePath(QStringLiteral("none.json")));
    window.show();
    QVERIFY(window.openLogs({offLog}));
    auto *verdict = find<QLabel>(window, "labelVerdict");
    auto *table = find<QTableWidget>(window, "tableStatistics");
    auto *view = find<QChartView>(window, "chartPressures");
    QVERIFY(verdict && table && view);
    QVERIFY2(verdict->text().endsWith(
                 QLatin1String("cylinder 2 has 2.00 kPa more vacuum than the reference.")),
             qPrintable(verdict->text()));
    QCOMPARE(table->item(1, 4)->text(), QStringLiteral("-2.00 kPa"));

    auto *unit = find<QComboBox>(window, "comboUnit");
    unit->setCurrentIndex(unit->findData(int(Unit::CmHg)));
    // 2 kPa is 1.50 cmHg: the verdict, the table, the tolerance and the axes follow.
    QVERIFY2(verdict->text().endsWith(
                 QLatin1String("cylinder 2 has 1.50 cmHg more vacuum than the reference.")),
             qPrintable(verdict->text()));
    QCOMPARE(table->item(1, 4)->text(), QStringLiteral("-1.50 cmHg"));
    const SeriesStatistics &first = window.currentAnalysis()->statistics[0];
    QCOMPARE(table->item(0, 0)->text(), formatValue(first.mean, Unit::CmHg));
    QCOMPARE(find<QDoubleSpinBox>(window, "spinTolerance")->value(), 0.75);
    QCOMPARE(view->chart()->axes(Qt::Vertical).value(0)->titleText(),
             QStringLiteral("Pressure (cmHg)"));

    // The tolerance is set in the unit shown: 2.00 cmHg takes in the 1.50.
    find<QDoubleSpinBox>(window, "spinTolerance")->setValue(2.0);
    QVERIFY2(verdict->text().startsWith(QLatin1String("In sync: all four cylinders")),
             qPrintable(verdict->text()));

    // Zooming one graph shows the same stretch in the other.
    auto *pressures = static_cast<SessionChart *>(view->chart());
    auto *differences = static_cast<SessionChart *>(find<QChartView>(window, "chartSync")->chart());
    pressures->setVisibleRange(100.0, 150.0);
    QCOMPARE(differences->visibleMin(), 100.0);
    QCOMPARE(differences->visibleMax(), 150.0);
}

void TestAnalysisWindow::referenceAndPollPeriod()
{
    AnalysisWindow window(folder.filePath(QStringLiteral("none.json")));
    window.show();
    QVERIFY(window.openLogs({offLog}));
    auto *verdict = find<QLabel>(window, "labelVerdict");
    auto *table = find<QTableWidget>(window, "tableStatistics");
    find<QComboBox>(window, "comboReference")->setCurrentIndex(1);
    // Against cylinder 2 the other three are 2 kPa above it.
    QVERIFY2(verdict->text().contains(
                 QLatin1String("cylinder 1 has 2.00 kPa less vacuum than the reference")),
             qPrintable(verdict->text()));
    QCOMPARE(table->verticalHeaderItem(1)->text(), QStringLiteral("Cylinder 2 (reference)"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("2.00 kPa"));

    // With the poll period the x axis counts seconds: 300 readings at 10 ms.
    auto *graph = static_cast<SessionChart *>(find<QChartView>(window, "chartPressures")->chart());
    QCOMPARE(graph->sessionEnd(), 299.0);
    find<QSpinBox>(window, "spinPeriod")->setValue(10);
    QCOMPARE(graph->sessionEnd(), 2.99);
    QCOMPARE(graph->axes(Qt::Horizontal).value(0)->titleText(), QStringLiteral("Time (s)"));
}

void TestAnalysisWindow::dropsTwoLogsForBeforeAndAfter()
{
    AnalysisWindow window(folder.filePath(QStringLiteral("none.json")));
    window.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(offLog), QUrl::fromLocalFile(inSyncLog)});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);

    auto *logs = find<QComboBox>(window, "comboLog");
    QCOMPARE(logs->count(), 2);
    QVERIFY(logs->itemText(0).startsWith(QLatin1String("Before: TOP_log_")));
    QVERIFY(logs->itemText(1).startsWith(QLatin1String("After: log_")));
    auto *verdict = find<QLabel>(window, "labelVerdict");
    auto *sync = static_cast<SessionChart *>(find<QChartView>(window, "chartSync")->chart());
    QVERIFY(verdict->text().contains(QLatin1String("more vacuum than the reference")));
    QCOMPARE(sync->markedPointCount(), 0); // never in sync: no strip
    logs->setCurrentIndex(1);
    QVERIFY2(verdict->text().startsWith(QLatin1String("In sync: all four cylinders")),
             qPrintable(verdict->text()));
    // One stretch in sync, to the end: one block of the strip, four corners.
    QTRY_COMPARE(sync->markedPointCount(), 4);
}

// The graphs read the session and its analysis in place: changing what is
// shown (unit, tolerance, reference, calibration, another log) redraws them
// from the new data, keeping the zoom while the session is the same.
void TestAnalysisWindow::zoomKeptAcrossUnitAndTolerance()
{
    const QString path = folder.filePath(QStringLiteral("zoom.json"));
    QVERIFY(saveCalibration(calibrationOf({0.0, -2.0, 0.0, 0.0}), path));
    AnalysisWindow window(path);
    window.show();
    QVERIFY(window.openLogs({offLog}));
    auto *pressures =
        static_cast<SessionChart *>(find<QChartView>(window, "chartPressures")->chart());
    auto *differences = static_cast<SessionChart *>(find<QChartView>(window, "chartSync")->chart());
    pressures->setVisibleRange(100.0, 150.0);
    const auto zoomed = [&] {
        return pressures->visibleMin() == 100.0 && pressures->visibleMax() == 150.0
            && differences->visibleMin() == 100.0 && differences->visibleMax() == 150.0;
    };
    auto *unit = find<QComboBox>(window, "comboUnit");
    unit->setCurrentIndex(unit->findData(int(Unit::InHg)));
    QVERIFY(zoomed());
    find<QDoubleSpinBox>(window, "spinTolerance")->setValue(0.2);
    QVERIFY(zoomed());
    find<QComboBox>(window, "comboReference")->setCurrentIndex(2);
    QVERIFY(zoomed());
    find<QCheckBox>(window, "checkCalibration")->setChecked(true);
    QVERIFY(zoomed());
    QVERIFY(window.currentAnalysis()->appliedCalibration);
    // Drawn from the analysis shown: the curves reach the new values.
    QTRY_VERIFY(differences->drawnPointCount(1) > 0);
    find<QCheckBox>(window, "checkCalibration")->setChecked(false);
    QVERIFY(zoomed());
    // Another session: the whole of it.
    QVERIFY(window.openLogs({inSyncLog}));
    QCOMPARE(pressures->visibleMax(), 399.0);
    QCOMPARE(differences->visibleMax(), 399.0);
    QTRY_VERIFY(pressures->drawnPointCount(0) > 0);
}

void TestAnalysisWindow::badLinesStopOrAreSkipped()
{
    AnalysisWindow window(folder.filePath(QStringLiteral("none.json")));
    window.show();
    auto *message = find<QLabel>(window, "labelMessage");
    QVERIFY(!window.openLogs({badLog}));
    QVERIFY(message->isVisible());
    QVERIFY2(message->text().contains(QLatin1String("line 6")), qPrintable(message->text()));
    QVERIFY(window.currentAnalysis() == nullptr);

    // Choosing to skip reads the same file again, counting the bad line.
    find<QCheckBox>(window, "checkSkipBadLines")->setChecked(true);
    QVERIFY(window.currentAnalysis() != nullptr);
    QCOMPARE(window.currentAnalysis()->skippedLines, std::size_t(1));
    QCOMPARE(window.currentAnalysis()->readingCount, std::size_t(50));
    QVERIFY2(message->text().contains(QLatin1String("1 bad line skipped")),
             qPrintable(message->text()));
}

void TestAnalysisWindow::appliesTheStoredCalibration()
{
    // Sensor 2 reads 2 kPa low.
    const Calibration calibration =
        calibrationOf({0.0, -2.0, 0.0, 0.0}, QStringLiteral("log_A_B_C_D_EMEDIE1_12_2026_8_0_0.txt"));
    const QString path = folder.filePath(QStringLiteral("calibration.json"));
    QVERIFY(saveCalibration(calibration, path));

    AnalysisWindow window(path);
    window.show();
    QVERIFY(window.openLogs({offLog}));
    auto *apply = find<QCheckBox>(window, "checkCalibration");
    QVERIFY(apply->isEnabled());
    QVERIFY(!window.currentAnalysis()->appliedCalibration);
    apply->setChecked(true);
    QVERIFY(window.currentAnalysis()->appliedCalibration);
    // With sensor 2 corrected, the session ends in sync, and the window says
    // the calibration was applied.
    QVERIFY(find<QLabel>(window, "labelVerdict")->text().startsWith(QLatin1String("In sync")));
    QVERIFY(window.statusBar()->currentMessage().contains(calibrationNote(calibration)));
}

void TestAnalysisWindow::unusableCalibrationIsNotApplied()
{
    const QString path = folder.filePath(QStringLiteral("damaged.json"));
    QVERIFY(writeTestFile(path, calibrationToJson(calibrationOf({1000.0, -1000.0, 0.0, 0.0}))));

    AnalysisWindow window(path);
    window.show();
    window.setCalibrationApplied(true);
    QVERIFY(window.openLogs({offLog}));
    auto *apply = find<QCheckBox>(window, "checkCalibration");
    QVERIFY(!apply->isEnabled());
    QVERIFY(!apply->isChecked());
    QVERIFY(!window.currentAnalysis()->appliedCalibration);
    auto *label = find<QLabel>(window, "labelCalibration");
    QVERIFY2(label->text().contains(QLatin1String("unusable")), qPrintable(label->text()));
    QVERIFY2(label->toolTip().contains(QLatin1String("Sensor 1 reads 1000.00 kPa away")),
             qPrintable(label->toolTip()));
    QVERIFY(!window.statusBar()->currentMessage().contains(QLatin1String("Calibration applied")));
}

void TestAnalysisWindow::calibratingDoesNotApplyByItself()
{
    const QString path = folder.filePath(QStringLiteral("fresh.json"));
    AnalysisWindow window(path);
    window.show();
    QVERIFY(window.openLogs({offLog}));
    // An engine log is refused, saying why.
    QVERIFY(!window.calibrateFrom(offLog));
    QVERIFY(!QFile::exists(path));
    QVERIFY2(
        find<QLabel>(window, "labelMessage")->text().startsWith(QLatin1String("Calibration refused")),
        qPrintable(find<QLabel>(window, "labelMessage")->text()));

    // A log of four sensors on one intake, with a long name: stored, offered,
    // not applied; the name elided in the panel and whole in its tooltip.
    TestLog oneIntake;
    for (int i = 0; i < 40; ++i) {
        const float pulse = -24.0f + 4.0f * float(std::sin(0.7 * i));
        oneIntake.add({pulse + 0.3f, pulse - 0.1f, pulse, pulse - 0.2f},
                      {-24.0f, -24.0f, -24.0f, -24.0f});
    }
    const QString name = QStringLiteral("calibration_of_all_four_sensors_on_the_intake_of_cylinder_"
                                        "one_with_a_T_piece_at_idle_on_a_cold_morning.txt");
    QVERIFY(oneIntake.save(folder.filePath(name)));
    QVERIFY(window.calibrateFrom(folder.filePath(name)));
    QVERIFY(QFile::exists(path));
    auto *apply = find<QCheckBox>(window, "checkCalibration");
    QVERIFY(apply->isEnabled());
    QVERIFY(!apply->isChecked());
    QVERIFY(!window.currentAnalysis()->appliedCalibration);
    auto *label = find<QLabel>(window, "labelCalibration");
    QVERIFY2(!label->text().contains(name), qPrintable(label->text()));
    QVERIFY2(label->toolTip().contains(name), qPrintable(label->toolTip()));
}

void TestAnalysisWindow::exportsReports()
{
    AnalysisWindow window(folder.filePath(QStringLiteral("none.json")));
    const QString pdf = folder.filePath(QStringLiteral("window.pdf"));
    QVERIFY(!window.exportReport(pdf)); // nothing open yet
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(window.openLogs({inSyncLog, offLog}));
    QVERIFY(window.exportReport(pdf));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF-"));
    QVERIFY(!window.exportReport(folder.filePath(QStringLiteral("window.doc"))));
    QVERIFY(
        find<QLabel>(window, "labelMessage")->text().contains(QLatin1String(".pdf, .png or .svg")));
}

void TestAnalysisWindow::syncChoicesFollowTheUnit_data()
{
    QTest::addColumn<int>("unit");
    // The tolerance in the unit, its decimals, and the smallest tolerance
    // and the step shown (0.01 kPa and 0.1 kPa) at those decimals.
    QTest::addColumn<double>("shown");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("step");
    QTest::newRow("kPa") << int(Unit::KPa) << 1.5 << 2 << 0.01 << 0.1;
    QTest::newRow("hPa") << int(Unit::HPa) << 15.0 << 1 << 0.1 << 1.0;
    QTest::newRow("mmHg") << int(Unit::MmHg) << 11.3 << 1 << 0.1 << 0.750062;
    QTest::newRow("cmHg") << int(Unit::CmHg) << 1.13 << 2 << 0.01 << 0.0750062;
    // 0.01 kPa is 0.003 inHg: the smallest is the smallest step shown, as a
    // tolerance of 0 is none.
    QTest::newRow("inHg") << int(Unit::InHg) << 0.44 << 2 << 0.01 << 0.0295300;
}

// The tolerance stays in kPa while the unit changes, and the box shows it
// with the unit's decimals, range and step; what the user types is taken
// back in kPa.
void TestAnalysisWindow::syncChoicesFollowTheUnit()
{
    QFETCH(int, unit);
    QFETCH(double, shown);
    QFETCH(int, decimals);
    QFETCH(double, smallest);
    QFETCH(double, step);
    QWidget parent;
    SyncChoices choices;
    choices.makeUnitBox(&parent);
    choices.makeReferenceBox(&parent, QStringLiteral("C%1"));
    choices.makeToleranceBox(&parent);
    QCOMPARE(choices.unit->count(), int(kAllUnits.size()));
    QCOMPARE(choices.reference->itemText(3), QStringLiteral("C4"));
    QCOMPARE(choices.tolerance->prefix(), QStringLiteral("± "));

    choices.chooseUnit(Unit(unit));
    QCOMPARE(int(choices.chosenUnit()), unit);
    choices.toleranceKPa = 1.5;
    choices.showTolerance();
    QCOMPARE(choices.tolerance->decimals(), decimals);
    QCOMPARE(choices.tolerance->value(), shown);
    QCOMPARE(choices.tolerance->minimum(), smallest);
    QVERIFY(std::fabs(choices.tolerance->singleStep() - step) < 1e-6);
    QVERIFY(std::fabs(choices.tolerance->maximum() - fromKPa(100.0, Unit(unit)))
            < std::pow(10.0, -decimals));
    // Showing it does not change it.
    QCOMPARE(choices.toleranceKPa, 1.5);

    choices.tolerance->setValue(2 * shown);
    choices.takeShownTolerance();
    QVERIFY(std::fabs(choices.toleranceKPa - toKPa(2 * shown, Unit(unit))) < 1e-12);
    choices.setToleranceKPa(1.5);
    QCOMPARE(choices.toleranceKPa, 1.5);
    QCOMPARE(choices.tolerance->value(), shown);
}

void TestAnalysisWindow::syncChoicesBringReferenceWithin()
{
    QWidget parent;
    SyncChoices choices;
    choices.makeUnitBox(&parent);
    choices.makeReferenceBox(&parent, QStringLiteral("%1"));
    QCOMPARE(choices.reference->count(), kCylinderCount);
    const int asked[] = {-1, 0, 1, 3, 4, 5, 99};
    const int taken[] = {1, 1, 1, 3, 4, 4, 4};
    for (std::size_t i = 0; i < std::size(asked); ++i) {
        choices.chooseReference(asked[i]);
        QCOMPARE(choices.chosenReference(), taken[i]);
    }
    choices.chooseUnit(Unit::CmHg);
    choices.chooseUnit(Unit(-1)); // not offered: the choice stays
    QCOMPARE(choices.chosenUnit(), Unit::CmHg);
}

QTEST_MAIN(TestAnalysisWindow)
#include "test_window.moc"
