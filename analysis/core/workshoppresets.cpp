#include "workshoppresets.h"

#include "measure/readings.h"
#include "units.h"

#include <QCoreApplication>
#include <QSettings>

#include <cmath>

namespace {

struct PresetTexts
{
    Q_DECLARE_TR_FUNCTIONS(WorkshopPresets)
};

const QString kGroup = QStringLiteral("livePresets");
const QString kSaved = QStringLiteral("livePresetsSaved");

} // namespace

std::vector<WorkshopPreset> shippedPresets()
{
    return {WorkshopPreset{PresetTexts::tr("Yamaha inline four: ±10 mmHg against cylinder 2"), 2,
                           toKPa(10.0, Unit::MmHg)}};
}

bool isSoundPreset(const WorkshopPreset &preset)
{
    return !preset.name.isEmpty() && preset.referenceCylinder >= 1
        && preset.referenceCylinder <= kCylinderCount && std::isfinite(preset.toleranceKPa)
        && preset.toleranceKPa > 0.0;
}

std::vector<WorkshopPreset> loadPresets(QSettings &settings)
{
    if (!settings.value(kSaved, false).toBool())
        return shippedPresets();
    std::vector<WorkshopPreset> presets;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        WorkshopPreset preset;
        preset.name = settings.value(QStringLiteral("name")).toString().trimmed();
        bool referenceOk = false, toleranceOk = false;
        preset.referenceCylinder = settings.value(QStringLiteral("reference")).toInt(&referenceOk);
        preset.toleranceKPa = settings.value(QStringLiteral("toleranceKPa")).toDouble(&toleranceOk);
        if (!referenceOk || !toleranceOk || !isSoundPreset(preset))
            continue;
        presets.push_back(preset);
    }
    settings.endArray();
    return presets;
}

void savePresets(QSettings &settings, const std::vector<WorkshopPreset> &presets)
{
    settings.remove(kGroup);
    settings.beginWriteArray(kGroup, int(presets.size()));
    for (int i = 0; i < int(presets.size()); ++i) {
        settings.setArrayIndex(i);
        const WorkshopPreset &preset = presets[std::size_t(i)];
        settings.setValue(QStringLiteral("name"), preset.name);
        settings.setValue(QStringLiteral("reference"), preset.referenceCylinder);
        settings.setValue(QStringLiteral("toleranceKPa"), preset.toleranceKPa);
    }
    settings.endArray();
    settings.setValue(kSaved, true);
    settings.sync();
}
