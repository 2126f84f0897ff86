#ifndef ANALYSIS_LIVEANALYSIS_H
#define ANALYSIS_LIVEANALYSIS_H

#include "enginespeed.h"
#include "measure/readings.h"
#include "syncanalysis.h"

#include <QLocale>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

// What the live bars compare. Three-screw linkages on an inline four set
// cylinder 1 against 2, 3 against 4 and the pair 1+2 against 3+4.
enum class LiveComparison {
    Reference,      // each cylinder against the reference cylinder: four bars
    Cylinders1And2, // one bar
    Cylinders3And4, // one bar
    Pairs,          // the pair 1+2 against 3+4: one bar
    LinkageScrews,  // the three above together: three bars
};

// Which value of each engine cycle the bars follow: its mean, or its
// minimum (the bottom of the intake pulse, which some workshops use).
enum class CycleValue {
    Mean,
    Minimum,
};

constexpr double kShortestDampingSeconds = 0.1;
constexpr double kLongestDampingSeconds = 2.0;
constexpr double kDefaultDampingSeconds = 0.3;
// One engine cycle at 1000 rpm, used until the engine speed is measured.
constexpr double kDefaultCycleSeconds = 0.12;

struct LiveSettings
{
    int referenceCylinder = kDefaultReferenceCylinder; // 1..4
    double toleranceKPa = kDefaultToleranceKPa;        // the band is +- this, limits included
    LiveComparison comparison = LiveComparison::Reference;
    CycleValue cycleValue = CycleValue::Mean;
    double dampingSeconds = kDefaultDampingSeconds; // kept within the shortest and longest
};

// One or two cylinders (index 0..3; second -1 for one), whose mean a bar takes.
struct LiveSide
{
    int first = 0;
    int second = -1;
};

// One bar: a cylinder (or pair) against another, in kPa.
struct LiveBar
{
    QString label; // "1", "1 − 2", "3+4 − 1+2"
    LiveSide measured;
    LiveSide against;
    double differenceKPa = 0; // the measured side minus the side it is set against
    bool isReference = false; // the reference cylinder's own bar, always 0
    bool withinBand = false;
};

// The bars' labels and which cylinders they subtract (index 0..3), for a
// comparison; also what the waveform and the report call them.
std::vector<LiveBar> liveBarsFor(const LiveSettings &settings);

// The in-sync verdict with hysteresis: it turns "in sync" only when every
// difference lies within kEnterShare of the tolerance, and turns back only
// when one leaves the band itself, so that it does not flicker at the
// band's edge and never says "in sync" of a difference outside the band.
class LiveVerdict
{
public:
    static constexpr double kEnterShare = 0.9;

    void reset();
    // The differences (kPa) at a time in seconds. A difference that is not
    // finite is outside every band.
    void update(double seconds, const std::vector<double> &differencesKPa, double toleranceKPa);

    bool hasReadings() const { return started; }
    bool inSync() const { return synced; }
    // How long the verdict has held, at the latest update.
    double heldSeconds() const { return started ? lastUpdate - since : 0.0; }

private:
    bool started = false;
    bool synced = false;
    double since = 0.0;
    double lastUpdate = 0.0;
};

// "IN SYNC" / "OUT OF SYNC" (Italian: "IN SINCRONIA" / "FUORI SINCRONIA").
QString liveVerdictTitle(bool inSync);
// "in sync for 12 s" / "out of sync for 3 s". Translated.
QString liveVerdictHeldText(const LiveVerdict &verdict);

// The live tuning analysis, frame by frame: each cylinder's value per engine
// cycle (mean or minimum over the last cycle, its length from the measured
// engine speed), damped with the chosen time constant, compared as the
// settings say, and judged against the tolerance band. Widget-free: the live
// window and the headless live run both use it.
class LiveAnalysis
{
public:
    explicit LiveAnalysis(const LiveSettings &settings = LiveSettings());

    // Keeps the damped values; a new comparison, reference or band starts a
    // new verdict, a new damping or cycle value keeps it and its hold time.
    void setSettings(const LiveSettings &settings);
    const LiveSettings &settings() const { return chosen; }
    // Forgets every reading: a new session.
    void reset();

    // One frame's raw readings (kPa) at a time in seconds from a steady clock.
    void addFrame(double seconds, const CylinderValues &raw);

    const std::vector<LiveBar> &bars() const { return currentBars; }
    // Each cylinder's damped cycle value, kPa (index 0..3).
    const std::array<double, kCylinderCount> &cylinderValuesKPa() const { return damped; }
    const LiveVerdict &verdict() const { return judged; }
    const EngineSpeedEstimator &engineSpeed() const { return speed; }
    // The length of the engine cycle used, seconds.
    double cycleSeconds() const;
    std::size_t frameCount() const { return frames; }

private:
    void judge(double seconds);

    LiveSettings chosen;
    EngineSpeedEstimator speed;
    std::deque<double> cycleTimes;
    std::deque<CylinderValues> cycleReadings;
    std::array<double, kCylinderCount> damped{};
    bool primed = false;
    double lastSeconds = 0.0;
    std::vector<LiveBar> currentBars;
    LiveVerdict judged;
    std::size_t frames = 0;
};

// The live verdict and engine speed as summary lines ("Live verdict at the
// end: IN SYNC, in sync for 12 s", "Engine speed: 1100 rpm", the idle drift
// when there is one), each ending in "\n". Translated.
QString liveSummaryText(const LiveAnalysis &analysis, Unit unit,
                        const QLocale &locale = QLocale::c());

#endif // ANALYSIS_LIVEANALYSIS_H
