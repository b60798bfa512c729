#include "ui/ConstantSettings.h"

#include "core/ConstantSets.h"
#include "ui/Settings.h"

namespace qex {

namespace {
constexpr const char* kSetKey = "Options/ConstantSet";
constexpr const char* kUncertaintiesKey = "Options/Uncertainties";
} // namespace

std::string StoredConstantSet()
{
    const ConstantSet* set = FindConstantSet(ApplicationSettings().value(kSetKey).toString().toStdString());
    return std::string(set != nullptr ? set->name : kOriginalConstants);
}

void StoreConstantSet(const std::string& name)
{
    ApplicationSettings().setValue(kSetKey, QString::fromStdString(name));
}

bool StoredUncertainties()
{
    return ApplicationSettings().value(kUncertaintiesKey, false).toBool();
}

void StoreUncertainties(bool listed)
{
    ApplicationSettings().setValue(kUncertaintiesKey, listed);
}

} // namespace qex
