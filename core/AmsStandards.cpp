#include "core/AmsStandards.h"

#include "core/Format.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qex {

namespace {

// Factors to 07KNSTD (Nishiizumi et al. 2007).
constexpr AmsStandard kBe10Standards[] = {
    {"07KNSTD", 1.0},        {"KNSTD", 0.9042},      {"NIST_Certified", 1.0425}, {"NIST_30000", 0.9313},
    {"NIST_30200", 0.9251},  {"NIST_30300", 0.9221}, {"NIST_30500", 0.9157},     {"NIST_30600", 0.9130},
    {"NIST_27900", 1.0},     {"LLNL31000", 0.8761},  {"LLNL10000", 0.9042},      {"LLNL3000", 0.8644},
    {"LLNL1000", 0.9313},    {"LLNL300", 0.8562},    {"S555", 0.9124},           {"S2007", 0.9124},
    {"BEST433", 0.9124},     {"S555N", 1.0},         {"S2007N", 1.0},            {"BEST433N", 1.0},
    {"STD11", 1.0},
};
// Factors to KNSTD (Nishiizumi 2004).
constexpr AmsStandard kAl26Standards[] = {
    {"KNSTD", 1.0}, {"ZAL94", 0.9134}, {"ZAL94N", 1.0}, {"SMAL11", 1.021}, {"ASTER", 1.021}, {"Z92-0222", 1.0},
};

template <std::size_t N>
constexpr std::array<std::string_view, N + 1> Choices(const AmsStandard (&standards)[N])
{
    std::array<std::string_view, N + 1> choices{};
    choices[0] = kNoStandard;
    for (std::size_t i = 0; i < N; ++i)
        choices[i + 1] = standards[i].name;
    return choices;
}
constexpr auto kBe10Choices = Choices(kBe10Standards);
constexpr auto kAl26Choices = Choices(kAl26Standards);

} // namespace

std::span<const AmsStandard> AmsStandards(NuclideKind nuclide)
{
    if (nuclide == kAl26)
        return kAl26Standards;
    return kBe10Standards;
}

const AmsStandard* FindAmsStandard(NuclideKind nuclide, std::string_view name)
{
    for (const AmsStandard& standard : AmsStandards(nuclide))
        if (std::equal(standard.name.begin(), standard.name.end(), name.begin(), name.end(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return &standard;
    return nullptr;
}

std::span<const std::string_view> AmsStandardChoices(NuclideKind nuclide)
{
    if (nuclide == kAl26)
        return kAl26Choices;
    return kBe10Choices;
}

Concentration NormaliseConcentration(NuclideKind nuclide, std::string_view standard, Concentration measured)
{
    const AmsStandard* found = FindAmsStandard(nuclide, standard);
    if (found == nullptr)
        return measured;
    return {measured.value * found->factor, measured.error * found->factor};
}

void AddAmsStandardProvenance(Provenance& provenance, NuclideKind nuclide, std::string_view standard)
{
    const AmsStandard* found = FindAmsStandard(nuclide, standard);
    if (found == nullptr)
        return;
    const bool al26 = nuclide == kAl26;
    provenance.push_back({al26 ? "al26_standard" : "be10_standard", "", std::string(found->name),
                          Format("%s standard  :   %s (x %g to %s)", al26 ? "26Al" : "10Be",
                                 std::string(found->name).c_str(), found->factor, al26 ? "KNSTD" : "07KNSTD")});
}

} // namespace qex
