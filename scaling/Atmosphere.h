#pragma once
// The air pressure a site's production is scaled with, by the atmosphere a
// calculation chooses: "std", the Stone (2000) standard atmosphere (eq. 1),
// the default; "antarctic", its Antarctic form 989.1 exp(-z / 7588) (Stone
// 2000, eq. 2), for the low pressure over Antarctica; or "pressure", a
// pressure the user measured or took from a reanalysis.

#include "core/InputTable.h"
#include "core/OutputTable.h"

#include <cmath>
#include <span>
#include <string>
#include <string_view>

namespace qex {

inline constexpr std::string_view kStandardAtmosphere = "std";
inline constexpr std::string_view kAntarcticAtmosphere = "antarctic";
inline constexpr std::string_view kMeasuredPressure = "pressure";

// The words of the "atmosphere" row: std, antarctic, pressure.
std::span<const std::string_view> AtmosphereNames();

// Air pressure (hPa) at the altitude (m) by the atmosphere; `pressure` (hPa)
// is the measured one, used by "pressure" alone.
double SitePressure(std::string_view atmosphere, double altitude, double pressure);

// Why the atmosphere and the pressure do not go together: "pressure" needs a
// pressure, the others take none. Empty when they do.
std::string CheckAtmosphere(std::string_view atmosphere, double pressure);

// The pressures a user may give (hPa): from above the highest summits to
// the deepest depressions.
inline constexpr InputRange kPressureRange{100.0, 1100.0};

template <class Inputs>
InputRow<Inputs> AtmosphereRow(std::string Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "atmosphere", .controlId = controlId, .member = member, .label = "Atmosphere",
            .kind = InputKind::Choice, .field = field,
            .help = "std: the Stone (2000) standard atmosphere; antarctic: 989.1 exp(-z/7588) hPa; pressure: the "
                    "pressure given with pressure",
            .choices = AtmosphereNames(), .listedAtDefault = false};
}

// The measured pressure's row: NaN (not given) by default.
template <class Inputs>
InputRow<Inputs> PressureRow(double Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "pressure", .controlId = controlId, .member = member, .label = "Air pressure at the site",
            .unit = "hPa", .field = field, .range = kPressureRange, .help = "with atmosphere pressure only",
            .listedAtDefault = false};
}

// The atmosphere as a constant of the result when it is not the standard
// one: "Atmosphere  :   antarctic"; "Atmosphere  :   pressure" and
// "Air pressure(hPa)  :   850".
void AddAtmosphereProvenance(Provenance& provenance, std::string_view atmosphere, double pressure);

} // namespace qex
