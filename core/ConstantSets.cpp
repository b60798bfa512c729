#include "core/ConstantSets.h"

#include <algorithm>
#include <cctype>

namespace qex {

namespace {

bool SameWord(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// 26Al decay constant (1/yr), Nishiizumi (2004): 9.83e-7 +- 2.5e-8; the
// half-life is ln 2 / lambda.
constexpr double kAl26CurrentDecayConstant = 9.83e-7;
constexpr double kAl26CurrentDecayConstantError = 2.5e-8;

const ConstantSet kSets[] = {
    {.name = kOriginalConstants,
     .description = "the constants QEX has always used",
     .be10HalfLife = {kBe10HalfLifeYears, 0.0, "QEX's original value (before Chmeleff et al. 2010)"},
     .al26HalfLife = {kAl26HalfLifeYears, 0.0, "QEX's original value (before Nishiizumi 2004)"},
     .be10Production = {kBe10SeaLevelProduction, kBe10SeaLevelProductionError,
                        "Stone (2000), pre-2007 AMS standards"},
     .al26Production = {kAl26SeaLevelProduction, kAl26SeaLevelProductionError,
                        "Stone (2000), pre-2007 AMS standards"},
     .be10Standard = "",
     .al26Standard = "",
     .attenuationLength = {150.0, 0.0, "QEX's original attenuation free path"}},
    {.name = "current",
     .description = "today's constants (CRONUS-Earth production rates, 07KNSTD and KNSTD)",
     .be10HalfLife = {kBe10CurrentHalfLifeYears, 12000.0, "Chmeleff et al. (2010); Korschinek et al. (2010)"},
     .al26HalfLife = {kLn2 / kAl26CurrentDecayConstant,
                      kLn2 / kAl26CurrentDecayConstant * kAl26CurrentDecayConstantError / kAl26CurrentDecayConstant,
                      "Nishiizumi (2004): decay constant 9.83e-7 +- 2.5e-8 /yr"},
     .be10Production = {4.01, 0.33, "Borchers et al. (2016); Phillips et al. (2016), St scaling, 07KNSTD"},
     .al26Production = {27.9, 2.8, "Borchers et al. (2016); Phillips et al. (2016), St scaling, KNSTD"},
     .be10Standard = "07KNSTD",
     .al26Standard = "KNSTD",
     .attenuationLength = {160.0, 0.0, "Gosse & Phillips (2001)"}},
};

constexpr std::string_view kSetNames[] = {kOriginalConstants, "current"};
constexpr std::string_view kNuclideNames[] = {"be10", "al26"};

} // namespace

std::span<const ConstantSet> ConstantSets()
{
    return kSets;
}

const ConstantSet* FindConstantSet(std::string_view name)
{
    for (const ConstantSet& set : kSets)
        if (SameWord(set.name, name))
            return &set;
    return nullptr;
}

std::span<const std::string_view> ConstantSetNames()
{
    return kSetNames;
}

std::span<const std::string_view> NuclideNames()
{
    return kNuclideNames;
}

NuclideKind NuclideOfName(std::string_view name)
{
    return SameWord(name, "al26") ? kAl26 : kBe10;
}

std::string_view NuclideSymbol(NuclideKind nuclide)
{
    return nuclide == kAl26 ? "26Al" : "10Be";
}

bool NoInputGiven(std::string_view)
{
    return false;
}

bool EveryInputGiven(std::string_view)
{
    return true;
}

void AddConstantSetProvenance(Provenance& provenance, std::string_view set)
{
    if (set != kOriginalConstants)
        provenance.push_back({"constants", "", std::string(set), Format("Constants  :   %s", std::string(set).c_str())});
}

} // namespace qex
