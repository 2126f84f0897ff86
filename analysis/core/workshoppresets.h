#ifndef ANALYSIS_WORKSHOPPRESETS_H
#define ANALYSIS_WORKSHOPPRESETS_H

#include "syncanalysis.h"

#include <QString>

#include <vector>

class QSettings;

// A workshop's tolerance and reference cylinder for an engine family.
struct WorkshopPreset
{
    QString name;
    int referenceCylinder = kDefaultReferenceCylinder; // 1..4
    double toleranceKPa = kDefaultToleranceKPa;        // the band is +- this
    bool operator==(const WorkshopPreset &other) const
    {
        return name == other.name && referenceCylinder == other.referenceCylinder
            && toleranceKPa == other.toleranceKPa;
    }
};

// The presets shipped: only those a published service figure backs. Yamaha's
// service manuals for their inline fours give +-10 mmHg between the
// carburettors, against cylinder 2.
std::vector<WorkshopPreset> shippedPresets();

// A preset that can be offered: a name, a reference within 1..4 and a
// tolerance that is a positive number.
bool isSoundPreset(const WorkshopPreset &preset);

// The user's presets from the configuration; the shipped ones until the
// user has saved a table of their own (an empty table included). Entries
// that are not sound are left out.
std::vector<WorkshopPreset> loadPresets(QSettings &settings);
void savePresets(QSettings &settings, const std::vector<WorkshopPreset> &presets);

#endif // ANALYSIS_WORKSHOPPRESETS_H
