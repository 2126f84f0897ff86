#include "liveanalysis.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct LiveTexts
{
    Q_DECLARE_TR_FUNCTIONS(Live)
};

QString sideLabel(const LiveSide &side)
{
    return side.second < 0 ? QString::number(side.first + 1)
                           : QStringLiteral("%1+%2").arg(side.first + 1).arg(side.second + 1);
}

LiveBar barOf(const LiveSide &measured, const LiveSide &against)
{
    LiveBar bar;
    bar.measured = measured;
    bar.against = against;
    bar.label = QStringLiteral("%1 − %2").arg(sideLabel(measured), sideLabel(against));
    return bar;
}

// Cylinder a against b, set against the reference when it is one of them,
// else against the lower-numbered one.
LiveBar cylinderPair(int a, int b, int referenceIndex)
{
    if (referenceIndex == a)
        return barOf(LiveSide{b, -1}, LiveSide{a, -1});
    if (referenceIndex == b)
        return barOf(LiveSide{a, -1}, LiveSide{b, -1});
    return barOf(LiveSide{b, -1}, LiveSide{a, -1});
}

// The pair holding the reference is the one the other is set against.
LiveBar pairBar(int referenceIndex)
{
    const LiveSide front{0, 1}, back{2, 3};
    return referenceIndex >= 2 ? barOf(front, back) : barOf(back, front);
}

double sideValue(const LiveSide &side, const std::array<double, kCylinderCount> &values)
{
    const double first = values[std::size_t(side.first)];
    return side.second < 0 ? first : 0.5 * (first + values[std::size_t(side.second)]);
}

double clampedDamping(double seconds)
{
    if (!std::isfinite(seconds))
        return kDefaultDampingSeconds;
    return std::clamp(seconds, kShortestDampingSeconds, kLongestDampingSeconds);
}

} // namespace

std::vector<LiveBar> liveBarsFor(const LiveSettings &settings)
{
    const int reference = std::clamp(settings.referenceCylinder, 1, kCylinderCount) - 1;
    std::vector<LiveBar> bars;
    switch (settings.comparison) {
    case LiveComparison::Reference:
        for (int c = 0; c < kCylinderCount; ++c) {
            LiveBar bar;
            bar.measured = LiveSide{c, -1};
            bar.against = LiveSide{reference, -1};
            bar.label = QString::number(c + 1);
            bar.isReference = c == reference;
            bars.push_back(bar);
        }
        break;
    case LiveComparison::Cylinders1And2:
        bars.push_back(cylinderPair(0, 1, reference));
        break;
    case LiveComparison::Cylinders3And4:
        bars.push_back(cylinderPair(2, 3, reference));
        break;
    case LiveComparison::Pairs:
        bars.push_back(pairBar(reference));
        break;
    case LiveComparison::LinkageScrews:
        bars.push_back(cylinderPair(0, 1, reference));
        bars.push_back(pairBar(reference));
        bars.push_back(cylinderPair(2, 3, reference));
        break;
    }
    return bars;
}

void LiveVerdict::reset()
{
    *this = LiveVerdict();
}

void LiveVerdict::update(double seconds, const std::vector<double> &differencesKPa,
                         double toleranceKPa)
{
    bool allWithinEntry = !differencesKPa.empty();
    bool anyOutside = differencesKPa.empty();
    for (const double difference : differencesKPa) {
        const double size = std::isfinite(difference) ? std::fabs(difference)
                                                      : std::numeric_limits<double>::infinity();
        if (!(size <= kEnterShare * toleranceKPa))
            allWithinEntry = false;
        if (!(size <= toleranceKPa))
            anyOutside = true;
    }
    const bool next = synced ? !anyOutside : allWithinEntry;
    if (!started || next != synced)
        since = seconds;
    started = true;
    synced = next;
    lastUpdate = seconds;
}

QString liveVerdictTitle(bool inSync)
{
    return inSync ? LiveTexts::tr("IN SYNC") : LiveTexts::tr("OUT OF SYNC");
}

QString liveVerdictHeldText(const LiveVerdict &verdict)
{
    if (!verdict.hasReadings())
        return LiveTexts::tr("no readings yet");
    const int seconds = int(std::floor(verdict.heldSeconds()));
    return verdict.inSync() ? LiveTexts::tr("in sync for %1 s").arg(seconds)
                            : LiveTexts::tr("out of sync for %1 s").arg(seconds);
}

LiveAnalysis::LiveAnalysis(const LiveSettings &settings)
{
    setSettings(settings);
}

void LiveAnalysis::setSettings(const LiveSettings &settings)
{
    const LiveSettings previous = chosen;
    chosen = settings;
    chosen.referenceCylinder = std::clamp(settings.referenceCylinder, 1, kCylinderCount);
    chosen.dampingSeconds = clampedDamping(settings.dampingSeconds);
    currentBars = liveBarsFor(chosen);
    // Another comparison or band is another verdict; another damping or
    // cycle value judges the same bars.
    if (chosen.comparison != previous.comparison
        || chosen.referenceCylinder != previous.referenceCylinder
        || chosen.toleranceKPa != previous.toleranceKPa)
        judged.reset();
    if (primed)
        judge(lastSeconds);
}

void LiveAnalysis::reset()
{
    speed.reset();
    cycleTimes.clear();
    cycleReadings.clear();
    damped = {};
    primed = false;
    lastSeconds = 0.0;
    currentBars = liveBarsFor(chosen);
    judged.reset();
    frames = 0;
}

double LiveAnalysis::cycleSeconds() const
{
    const std::optional<double> rpm = speed.rpm();
    return rpm ? 120.0 / *rpm : kDefaultCycleSeconds;
}

void LiveAnalysis::addFrame(double seconds, const CylinderValues &raw)
{
    if (primed && seconds < lastSeconds)
        reset();
    ++frames;
    speed.addSample(seconds, raw);

    // The readings of the last engine cycle.
    cycleTimes.push_back(seconds);
    cycleReadings.push_back(raw);
    const double cycle = cycleSeconds();
    while (cycleTimes.size() > 1 && seconds - cycleTimes.front() >= cycle) {
        cycleTimes.pop_front();
        cycleReadings.pop_front();
    }

    std::array<double, kCylinderCount> cycleValue{};
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        double sum = 0.0;
        double lowest = std::numeric_limits<double>::infinity();
        std::size_t count = 0;
        for (const CylinderValues &row : cycleReadings) {
            const double value = row[c];
            if (!std::isfinite(value))
                continue;
            sum += value;
            lowest = std::min(lowest, value);
            ++count;
        }
        cycleValue[c] = count == 0                  ? std::numeric_limits<double>::quiet_NaN()
            : chosen.cycleValue == CycleValue::Mean ? sum / double(count)
                                                    : lowest;
    }

    // First-order damping with the chosen time constant, whatever the
    // spacing of the frames.
    const double share = primed ? 1.0 - std::exp(-(seconds - lastSeconds) / chosen.dampingSeconds)
                                : 1.0;
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        if (!std::isfinite(cycleValue[c]))
            continue;
        if (!primed || !std::isfinite(damped[c]))
            damped[c] = cycleValue[c];
        else
            damped[c] += share * (cycleValue[c] - damped[c]);
    }
    if (!primed) {
        for (std::size_t c = 0; c < kCylinderCount; ++c) {
            if (!std::isfinite(cycleValue[c]))
                damped[c] = std::numeric_limits<double>::quiet_NaN();
        }
    }
    primed = true;
    lastSeconds = seconds;
    judge(seconds);
}

void LiveAnalysis::judge(double seconds)
{
    std::vector<double> differences;
    differences.reserve(currentBars.size());
    for (LiveBar &bar : currentBars) {
        bar.differenceKPa =
            bar.isReference ? 0.0 : sideValue(bar.measured, damped) - sideValue(bar.against, damped);
        bar.withinBand = std::isfinite(bar.differenceKPa)
            && std::fabs(bar.differenceKPa) <= chosen.toleranceKPa;
        if (!bar.isReference)
            differences.push_back(bar.differenceKPa);
    }
    judged.update(seconds, differences, chosen.toleranceKPa);
}

QString liveSummaryText(const LiveAnalysis &analysis, Unit unit, const QLocale &locale)
{
    QString text;
    const LiveVerdict &verdict = analysis.verdict();
    if (verdict.hasReadings())
        text += LiveTexts::tr("Live verdict at the end: %1, %2")
                    .arg(liveVerdictTitle(verdict.inSync()), liveVerdictHeldText(verdict))
            + QLatin1Char('\n');
    else
        text += LiveTexts::tr("Live verdict at the end: no readings") + QLatin1Char('\n');
    for (const LiveBar &bar : analysis.bars()) {
        if (bar.isReference)
            continue;
        text += LiveTexts::tr("  %1: %2").arg(bar.label, formatValue(bar.differenceKPa, unit, locale))
            + QLatin1Char('\n');
    }
    text += LiveTexts::tr("Engine speed: %1").arg(engineSpeedText(analysis.engineSpeed()))
        + QLatin1Char('\n');
    const QString drift = idleDriftText(analysis.engineSpeed());
    if (!drift.isEmpty())
        text += drift + QLatin1Char('\n');
    return text;
}
