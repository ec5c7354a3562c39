// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A firmware package: a folder holding a receiver family's images and MANIFEST.TXT, which
// names each file with its size and SHA-256, the firmware version and the access codes of
// the update mode. The program writes nothing to a receiver that does not come from a
// package that passed every check here.
namespace update {

// The access code of the update mode: 16 sector indices read before each command sector.
using TPreamble = std::array<uint16_t, 16>;

inline constexpr const char* ManifestName = "MANIFEST.TXT";
inline constexpr const char* PackagesFolderName = "FIRMWARE";

// The receiver files the update talks through, by their layout sizes in sectors.
inline constexpr uint32_t ModelDTargetSectors = 512;  // NAV518.BIN, 262,144 bytes
inline constexpr uint32_t NewTargetSectors = 32;      // HTML\NAVAREA.HTM, one 16,384-byte window

// One image file of a package and what the manifest says of it.
struct TPackageFile {
    std::string name;
    size_t size = 0;
    std::string sha256;
};

struct TFirmwarePackage {
    std::string folder;
    std::string family;       // "B" (ZEL2, ZEL2B), "BX" (ZEL2X, ZEL2BX) or "D" (ZEL2D)
    std::string versionText;  // "1.0.10"
    int version = 0;          // major x 10000 + minor x 100 + patch
    bool simulator = false;   // made by zel2sim for the emulated receiver; never a real device image
    std::vector<uint8_t> firmware, data, loaderNew, loaderOld, loaderD;
    TPreamble preambleD{}, preambleNew{}, preambleOld{};
};

// The family a receiver model belongs to; empty for an unknown model.
std::string FamilyOfModel(const std::string& model);

// What the dialog shows of a package: model, version, and whether it is simulator data.
std::string DescribePackage(const TFirmwarePackage& package, const std::string& model);
inline constexpr const char* SimulatorMark = "simulator firmware";

// Reads and checks the package in folder: manifest complete, files present with the
// stated sizes and hashes, sizes those of the blocks, preambles inside their targets.
// On failure the result is empty and problem says why, in French.
std::optional<TFirmwarePackage> LoadFirmwarePackage(const std::string& folder, std::string& problem);

// Where packages are installed: the FIRMWARE folder of the archive and beside the program.
std::vector<std::string> InstalledPackageRoots();

// The newest sound package for the model under the roots (each root holds one folder per
// package). Without one, problem tells the user what is missing or what was refused.
struct TPackageChoice {
    std::optional<TFirmwarePackage> package;
    std::string problem;
};
TPackageChoice FindFirmwarePackage(const std::vector<std::string>& roots, const std::string& model);

// Whether every sector the procedure reads or writes lies below the target's end.
bool PreambleFits(const TPreamble& preamble, uint32_t targetSectors);

// Writes a package's manifest text for the given files; used by the simulator's packages
// and the tests.
std::string ManifestText(const std::string& family, const std::string& version, bool simulator,
                         const std::vector<std::pair<std::string, TPackageFile>>& files,
                         const std::vector<std::pair<std::string, TPreamble>>& preambles);

}  // namespace update
