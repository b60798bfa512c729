// The geomagnetic intensity reader on any bytes; records that load are
// written back as the normalisation command writes them, and the corrected
// exposure age on them (with the pole at the geographic pole at the same
// ages) is an age or a refusal.

#include "core/Format.h"
#include "fuzz/FuzzSupport.h"
#include "geomag/ExposureAge.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "scaling/Nuclide.h"

#include <cmath>

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CGeomagneticIntensityData intensities{std::string()}; // no file: the bytes are loaded below
    if (intensities.LoadText(fuzz::Text(data, size)) != 1)
        return 0;
    fuzz::Require(intensities.years.size() == static_cast<std::size_t>(intensities.pointCount) &&
                      intensities.intensities.size() == intensities.years.size(),
                  "a loaded file holds pointCount records");
    for (std::size_t i = 1; i < intensities.years.size(); ++i)
        fuzz::Require(std::fabs(intensities.years[i] - intensities.years[i - 1]) >= 0.001, "close ages are merged");
    // The keyword line, the name line (the file's own word), then the records.
    const std::string written = intensities.FileText();
    const std::size_t records = written.find('\n', written.find('\n') + 1) + 1;
    fuzz::Require(fuzz::IsFiniteText(written.substr(records)), "the normalised records are numbers");

    std::string pole = "Geomagnetic_Pole_Data\nAxial\n";
    for (double year : intensities.years)
        pole += Format("%.17g 90 0\n", year);
    CGeomagneticPoleData poles{std::string()};
    poles.LoadText(pole);
    CSampleSite site;
    site.latitude = 34.33375;
    site.longitude = 77.35;
    CNuclide be10;
    be10.Init(kBe10);
    be10.concentration = 6000.0; // atoms/g: young enough to lie within short records
    const ResultPair age = site.GeomagneticExposureAge(&poles, &intensities, &be10, 0.0);
    fuzz::Require(age.first == -1.0 || (std::isfinite(age.first) && age.first >= 0.0),
                  "the corrected age is an age or no result");
    return 0;
}
