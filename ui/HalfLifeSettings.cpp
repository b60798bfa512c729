#include "ui/HalfLifeSettings.h"

#include <QSettings>

namespace qex {

namespace {

// The application's settings key (app/QEXApp.cpp), named here so that a
// dialog reads the same settings whether or not the application set it.
constexpr const char* kOrganization = "Local AppWizard-Generated Applications";
constexpr const char* kApplication = "QEX";
constexpr const char* kBe10Key = "Options/Be10HalfLife";
constexpr const char* kAl26Key = "Options/Al26HalfLife";

double Read(const QSettings& settings, const char* key, double original)
{
    bool isNumber = false;
    const double value = settings.value(key).toDouble(&isNumber);
    return isNumber && value >= kHalfLifeRange.minimum && value <= kHalfLifeRange.maximum ? value : original;
}

} // namespace

HalfLives StoredHalfLives()
{
    const QSettings settings(kOrganization, kApplication);
    return {Read(settings, kBe10Key, kBe10HalfLifeYears), Read(settings, kAl26Key, kAl26HalfLifeYears)};
}

void StoreHalfLives(const HalfLives& halfLives)
{
    QSettings settings(kOrganization, kApplication);
    settings.setValue(kBe10Key, halfLives.be10);
    settings.setValue(kAl26Key, halfLives.al26);
}

} // namespace qex
