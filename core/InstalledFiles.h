#pragma once
// The files an installed QEX ships beside its programs. An installation keeps
// them under <prefix>/share (the bundled data in share/qex, the documentation
// in share/doc/qex) and its programs in <prefix>/bin, so they are found from
// the running executable whatever the prefix. A program run from its build
// folder has no installed copy.

#include <optional>
#include <string>

namespace qex {

// share/qex of the installation this program belongs to, if it is installed.
std::optional<std::string> InstalledDataFolder();

// share/doc/qex of the installation (the README), if it is installed.
std::optional<std::string> InstalledDocFolder();

// The installed copy of a bundled geomagnetic record (pole02.dat,
// pmagstack1.dat), if there is one.
std::optional<std::string> InstalledGeomagneticRecord(const std::string& fileName);

// The path the exposure age reads a geomagnetic record from when it goes by
// its fixed name: the file in the working folder when it is there (as it has
// always been), otherwise the installed copy, otherwise the name itself (its
// loader then says that it is missing).
std::string WorkingOrInstalledRecord(const std::string& fileName);

} // namespace qex
