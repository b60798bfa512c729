#include "core/InstalledFiles.h"

#include <filesystem>
#include <system_error>

// Paths from the installed programs' folder to the shared files, set by the
// build from its install directories.
#ifndef QEX_DATA_FROM_BIN
#define QEX_DATA_FROM_BIN "../share/qex"
#endif
#ifndef QEX_DOC_FROM_BIN
#define QEX_DOC_FROM_BIN "../share/doc/qex"
#endif

namespace qex {

namespace fs = std::filesystem;

namespace {

// The folder of the running executable (Linux keeps its path in /proc).
std::optional<fs::path> ProgramFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error || program.empty())
        return std::nullopt;
    return program.parent_path();
}

std::optional<std::string> FolderBesideProgram(const char* relative)
{
    const std::optional<fs::path> bin = ProgramFolder();
    if (!bin)
        return std::nullopt;
    std::error_code error;
    const fs::path folder = (*bin / relative).lexically_normal();
    if (!fs::is_directory(folder, error))
        return std::nullopt;
    return folder.string();
}

} // namespace

std::optional<std::string> InstalledDataFolder()
{
    return FolderBesideProgram(QEX_DATA_FROM_BIN);
}

std::optional<std::string> InstalledDocFolder()
{
    return FolderBesideProgram(QEX_DOC_FROM_BIN);
}

std::optional<std::string> InstalledGeomagneticRecord(const std::string& fileName)
{
    const std::optional<std::string> data = InstalledDataFolder();
    if (!data)
        return std::nullopt;
    std::error_code error;
    const fs::path record = fs::path(*data) / "examples" / "geomag" / fileName;
    if (!fs::is_regular_file(record, error))
        return std::nullopt;
    return record.string();
}

std::string WorkingOrInstalledRecord(const std::string& fileName)
{
    std::error_code error;
    if (fs::exists(fileName, error))
        return fileName;
    return InstalledGeomagneticRecord(fileName).value_or(fileName);
}

} // namespace qex
