#pragma once
// Curves and the default sample shared by the simulation tests.

#include "tests/support/TestSupport.h"

#include <string>

namespace qex::test {

// The dialog's default sample (atoms/g, atoms/g/yr, g/cm3, g/cm2).
inline constexpr double kBe10 = 1165000.0;
inline constexpr double kBe10Production = 12.7;
inline constexpr double kAl26 = 6216000.0;
inline constexpr double kAl26Production = 77.7;
inline constexpr double kDensity = 2.75;
inline constexpr double kFreePath = 150.0;

// 31 points alternating between 3.0 and 5.0 every 20000 years, from
// (0, 3.0) to (600000, 3.0).
inline std::string AlternatingCurveText()
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    return text;
}

// Square waves with 1-year steps between 3.0 (exposure) and 5.0 (burial):
// exposure 0-20 kyr, burial 20-60 kyr, exposure 60-360 kyr, burial to 560 kyr.
inline std::string SquareWaveCurveText()
{
    return "Proxy_Data\nSquare\n0 3.0\n20000 3.0\n20001 5.0\n60000 5.0\n60001 3.0\n360000 3.0\n360001 5.0\n"
           "560000 5.0\n";
}

inline std::string WriteCurve(const TempDir& dir, const std::string& name, const std::string& text)
{
    const std::string path = dir.File(name);
    WriteFile(path, text);
    return path;
}

inline std::string Lr04Path()
{
    return SourceDir() + "/examples/proxy/LR04.dat";
}

} // namespace qex::test
