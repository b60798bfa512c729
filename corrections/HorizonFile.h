#pragma once
// Horizon files: the skyline around a sample as a list of points, one
// "azimuth angle" pair a line, with blanks or one comma between the two
// numbers; '#' starts a comment; blank lines are skipped. Azimuths in degrees
// from 0 to 360, angles (elevation of the skyline) from 0 to 90.
//
//     # azimuth  angle
//     0    12.5
//     90,  20
//     180  8     # the valley

#include "corrections/ShieldingResult.h"

#include <string>
#include <string_view>
#include <vector>

namespace qex {

// More points than one-degree bins make no difference; this bounds the memory
// a damaged file can claim.
inline constexpr std::size_t kMaxHorizonPoints = 1000000;

// Reads one point, "AZ ANGLE" or "AZ,ANGLE". Returns why it is refused (for
// example "the azimuth 400 is outside the range 0 to 360"), or an empty text
// and the point.
std::string ParseHorizonPoint(std::string_view text, HorizonPoint& point);

// Reads the points of a horizon file's text, in file order. On a fault shows
// one message naming the source and the line, and returns false.
bool ParseHorizonText(std::string_view text, const std::string& sourceName, std::vector<HorizonPoint>& points);

// Reads a horizon file; false after a message when it cannot be read or holds
// a line that is not a point.
bool ReadHorizonFile(const std::string& path, std::vector<HorizonPoint>& points);

} // namespace qex
