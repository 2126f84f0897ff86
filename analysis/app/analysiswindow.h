#ifndef ANALYSISWINDOW_H
#define ANALYSISWINDOW_H

#include "calibration.h"
#include "logreader.h"
#include "session.h"
#include "sessionanalysis.h"
#include "syncchoices.h"
#include "units.h"

#include <QMainWindow>
#include <QStringList>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class SessionChart;
class LiveWindow;
struct LiveCommand;
class SessionChartView;

// The window of Aspirello Analisi: one or two saved logs (before and after)
// as graphs, a statistics table and the sync verdict, with the unit,
// reference, tolerance, poll period and calibration chosen by the user, and
// the export of a report. Logs come from the Open dialog or are dropped onto
// the window.
class AnalysisWindow : public QMainWindow
{
    Q_OBJECT
public:
    // calibrationPath: where the sensor calibration is kept (the user's
    // configuration, or a scratch file in tests).
    explicit AnalysisWindow(const QString &calibrationPath, QWidget *parent = nullptr);

    // Reads the logs (at most two: before and after) and shows the first.
    // Logs that cannot be read are named in the window; returns true when at
    // least one was read.
    bool openLogs(const QStringList &paths);
    // Writes the report of the logs shown, in the format of the name's suffix.
    bool exportReport(const QString &path);
    // Computes a calibration from a log and stores it, without applying it;
    // a refusal is shown in the window.
    bool calibrateFrom(const QString &path);

    // The choices a command line can preset.
    void setUnit(Unit unit);
    void setAnalysisSettings(const AnalysisSettings &settings);
    void setBadLinePolicy(BadLinePolicy policy);
    void setCalibrationApplied(bool applied);

    // The live tuning window ("Connect board…"), made at its first use; with
    // a command's port it connects at once.
    LiveWindow *openLiveWindow();
    LiveWindow *openLiveWindow(const LiveCommand &command, std::optional<double> pollPeriodSeconds);

    const std::vector<Session> &sessions() const { return shown(); }
    const SessionAnalysis *currentAnalysis() const;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void chooseLogs();
    void chooseReportFile();
    void chooseCalibrationLog();
    void unitChanged();
    void toleranceChosen();
    void settingsChanged();
    void badLinePolicyChanged();
    void calibrationChoiceChanged();
    void sessionChosen();

private:
    void buildForm();
    Unit unit() const;
    AnalysisSettings settings() const;
    BadLinePolicy badLinePolicy() const;
    void applyCalibrationChoice();
    void reanalyse(bool keepRange);
    void showAnalysis(bool keepRange);
    void showMessage(const QString &text);
    void updateCalibrationLabel();

    QString calibrationFile;
    std::optional<Calibration> storedCalibration;
    QString calibrationError; // why the stored calibration is not usable
    QStringList logPaths;
    std::vector<Session> readSessions;  // as read from the files
    std::vector<Session> shownSessions; // with the calibration, only when one is applied
    const std::vector<Session> &shown() const
    {
        return shownSessions.empty() ? readSessions : shownSessions;
    }
    std::vector<SessionAnalysis> analyses;
    int currentSession = -1;
    SyncChoices choices;
    bool updating = false;

    QComboBox *comboLog = nullptr;
    QComboBox *comboCompare = nullptr;
    QSpinBox *spinPeriod = nullptr;
    QCheckBox *checkSkipBadLines = nullptr;
    QCheckBox *checkCalibration = nullptr;
    QLabel *labelCalibration = nullptr;
    QLabel *labelMessage = nullptr;
    QLabel *labelVerdict = nullptr;
    QLabel *labelPairs = nullptr;
    QLabel *labelPulsation = nullptr;
    QLabel *labelStretches = nullptr;
    QTableWidget *tableStatistics = nullptr;
    QTabWidget *tabGraphs = nullptr;
    SessionChart *pressureChart = nullptr;
    SessionChart *differenceChart = nullptr;
    SessionChartView *pressureView = nullptr;
    SessionChartView *differenceView = nullptr;
    LiveWindow *liveWindow = nullptr;
};

#endif // ANALYSISWINDOW_H
