#include "core/HalfLives.h"

#include "core/Format.h"

namespace qex {

Provenance HalfLifeProvenance(const HalfLives& halfLives)
{
    const bool original = halfLives.be10 == kBe10HalfLifeYears && halfLives.al26 == kAl26HalfLifeYears;
    auto line = [original](const char* format, double value) { return original ? std::string() : Format(format, value); };
    return {{"be10_half_life", "yr", halfLives.be10, line("Half-life 10Be(yr)  :   %.0f", halfLives.be10)},
            {"al26_half_life", "yr", halfLives.al26, line("Half-life 26Al(yr)  :   %.0f", halfLives.al26)}};
}

const InputTable<HalfLives>& HalfLifeInputTable()
{
    using In = HalfLives;
    static const InputRow<In> rows[] = {
        Be10HalfLifeRow(&In::be10, 1000, "m_dBe10HalfLife"),
        Al26HalfLifeRow(&In::al26, 1001, "m_dAl26HalfLife"),
    };
    static const InputTable<In> table(rows);
    return table;
}

} // namespace qex
