// qexcli exposure: the 10Be surface exposure age of the exposure age dialog,
// optionally corrected for the past geomagnetic field.

#include "cli/Command.h"
#include "geomag/ExposureAgeResult.h"

namespace qex::cli {
namespace {

const bool registered = RegisterCommand(
    {"exposure", "10Be surface exposure age with decay and erosion, optionally corrected for the past geomagnetic field",
     [](CLI::App& command) -> Runner {
         static ExposureInputs in;
         auto number = [&command](const char* name, double& value, const char* text, const char* unit,
                                  InputRange range) {
             AddNumber(command, name, value, text, unit, range.Bounds());
         };
         number("--latitude", in.latitude, "site latitude, north positive", "degrees", kExposureLatitudeRange);
         number("--longitude", in.longitude, "site longitude, east positive (used with --geomagnetic)", "degrees",
                kExposureLongitudeRange);
         number("--altitude", in.altitude, "site altitude", "m", kExposureAltitudeRange);
         number("--thickness", in.thickness, "sample thickness", "cm", kExposureThicknessRange);
         number("--density", in.density, "rock density", "g/cm3", kExposureDensityRange);
         number("--free-path", in.freePath, "attenuation length of the erosion term (without --geomagnetic)", "g/cm2",
                kExposureFreePathRange);
         number("--shield", in.shield, "topographic shielding factor (without --geomagnetic)", "",
                kExposureShieldRange);
         number("--erosion", in.erosion, "steady erosion rate", "cm/yr", kExposureErosionRange);
         number("--concentration", in.concentration, "measured 10Be concentration", "atoms/g",
                kExposureConcentrationRange);
         number("--concentration-err", in.concentrationError, "its uncertainty", "atoms/g",
                kExposureConcentrationErrorRange);
         number("--production-rate", in.productionRate, "10Be production rate at sea level and high latitude",
                "atoms/g/yr", kExposureProductionRange);
         number("--production-rate-err", in.productionRateError, "its uncertainty", "atoms/g/yr",
                kExposureProductionErrorRange);
         command.add_flag("--geomagnetic", in.magneticCorrection,
                          "correct for the wandering pole and the changing field strength");
         command.add_option("--pole", in.polePath, "geomagnetic pole records (with --geomagnetic)")
             ->capture_default_str();
         command.add_option("--intensity", in.intensityPath, "geomagnetic intensity records (with --geomagnetic)")
             ->capture_default_str();
         command.add_option("--table", in.tablePath, "scratch intensity table to write (with --geomagnetic)")
             ->capture_default_str();
         return [&command] {
             // Only the fixed names may fall back to the installed records.
             in.poleMayBeInstalled = command.count("--pole") == 0;
             in.intensityMayBeInstalled = command.count("--intensity") == 0;
             if (in.magneticCorrection && !DistinctFiles({{"--pole", in.polePath, FileRole::Input},
                                                          {"--intensity", in.intensityPath, FileRole::Input},
                                                          {"--table", in.tablePath, FileRole::Output}}))
                 return static_cast<int>(kUsage);
             CResultList list;
             if (!AppendExposureAge(in, list))
                 return static_cast<int>(kFailure);
             PrintList(list);
             return static_cast<int>(kSuccess);
         };
     }});

} // namespace
} // namespace qex::cli
