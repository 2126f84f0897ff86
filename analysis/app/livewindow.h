#ifndef LIVEWINDOW_H
#define LIVEWINDOW_H

#include "livecapture.h"
#include "liveanalysis.h"
#include "livesource.h"
#include "syncchoices.h"
#include "units.h"
#include "workshoppresets.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <vector>

class LiveBars;
class LiveWaveform;
class QAction;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSettings;
class QSpinBox;

// Tuning live: the board polled by aspirello-analisi itself, each cylinder
// (or pair) against the one it is set against on bars with the tolerance
// band, a verdict large enough to read from the engine with how long it
// has held, the engine speed from the intake pulses, the raw waveform, and
// "Before"/"After" captures saved as the gauge's logs. The bars and the
// waveform are repainted at a steady pace, whatever the frame rate.
class LiveWindow : public QMainWindow
{
    Q_OBJECT
public:
    // How often the bars, the verdict and the waveform are refreshed: right
    // after a frame has been taken, so that the painting never holds the
    // next reply on the line, and at most every kRefreshMs; when frames stop,
    // what they left is shown within kRefreshMs.
    static constexpr int kRefreshMs = 30;

    // captureFolder: where "Before" and "After" save their logs;
    // presetsPath: the file the workshop presets are kept in (empty: the
    // user's configuration).
    LiveWindow(const QString &captureFolder, const QString &presetsPath, QWidget *parent = nullptr);

    // The presets' file beside the calibration's, in the user's configuration.
    static QString presetsPathBeside(const QString &calibrationPath);
    ~LiveWindow() override;

    // Opens the port and starts polling; false with the reason shown.
    bool connectBoard(const QString &portName);
    void disconnectBoard();
    bool isConnected() const { return source.isOpen(); }

    void setUnit(Unit unit);
    void setLiveSettings(const LiveSettings &settings);
    void setPollPeriodMs(int ms);
    LiveSettings liveSettings() const;

    const LiveAnalysis &analysis() const { return live; }
    const LiveSource &board() const { return source; }
    LiveSource &board() { return source; }
    // Frames taken since the board was connected.
    quint64 framesTaken() const { return source.framesAccepted(); }
    QString beforeLog() const { return beforePath; }
    QString afterLog() const { return afterPath; }
    const std::vector<WorkshopPreset> &presets() const { return workshopPresets; }
    void setPresets(const std::vector<WorkshopPreset> &presets);

signals:
    // "Compare before and after": the two logs saved by the captures.
    void compareRequested(const QStringList &logs);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildForm();
    void frameReceived(const MeasurementFrame &frame, double seconds);
    void refresh();
    void settingsChosen();
    void unitChosen();
    void toleranceChosen();
    void presetChosen();
    void editPresets();
    void fillPresets();
    void zoomChosen();
    void toggleConnection();
    void startCapture(bool after);
    void finishCapture();
    void showProblem(const QString &text);
    void boardLost(const QString &text);
    void updateConnectionLook();
    Unit unit() const;

    QString captureFolder;
    std::unique_ptr<QSettings> configuration;
    LiveSource source;
    LiveAnalysis live;
    LiveRecording capture;
    enum class Capture { None, Before, After } capturing = Capture::None;
    QString beforePath, afterPath;
    std::vector<WorkshopPreset> workshopPresets;
    QTimer refreshTimer;
    QElapsedTimer sinceRefresh;
    bool fresh = false;
    SyncChoices choices;
    bool updating = false;

    QComboBox *comboPort = nullptr;
    QSpinBox *spinPoll = nullptr;
    QPushButton *buttonConnect = nullptr;
    QComboBox *comboPreset = nullptr;
    QComboBox *comboComparison = nullptr;
    QComboBox *comboCycle = nullptr;
    QDoubleSpinBox *spinDamping = nullptr;
    QComboBox *comboZoom = nullptr;
    QDoubleSpinBox *spinRange = nullptr;
    QPushButton *buttonBefore = nullptr;
    QPushButton *buttonAfter = nullptr;
    QPushButton *buttonCompare = nullptr;
    QAction *actionFullScreen = nullptr;
    QLabel *labelVerdict = nullptr;
    QLabel *labelHeld = nullptr;
    QLabel *labelSpeed = nullptr;
    QLabel *labelDrift = nullptr;
    QLabel *labelProblem = nullptr;
    QLabel *labelDamping = nullptr;
    LiveBars *bars = nullptr;
    LiveWaveform *waveform = nullptr;
};

#endif // LIVEWINDOW_H
