#include "ui/ScienceSettings.h"

#include "ui/ConstantSettings.h"
#include "ui/HalfLifeSettings.h"

namespace qex {

SettingValues StoredScienceSettings()
{
    const HalfLives halfLives = StoredHalfLives();
    return {
        {"be10-half-life", InputNumberText(halfLives.be10)},
        {"al26-half-life", InputNumberText(halfLives.al26)},
        {"constants", StoredConstantSet()},
    };
}

} // namespace qex
