// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimulatorFirmware.h"

#include <filesystem>

#include "platform/Files.h"
#include "platform/Hash.h"

namespace sim {
namespace {

// xorshift32: small, fixed and the same everywhere.
std::vector<uint8_t> Stream(uint32_t seed, size_t size) {
    uint32_t x = seed ? seed : 1;
    std::vector<uint8_t> out(size);
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<uint8_t>(x);
    }
    return out;
}

// A readable header, so a dump shows at once that this is simulator data.
std::vector<uint8_t> Image(const std::string& tag, uint32_t seed, size_t size) {
    const std::string head = "ZEL2 SIMULATOR " + tag + '\0';
    std::vector<uint8_t> bytes(head.begin(), head.end());
    const std::vector<uint8_t> rest = Stream(seed, size - head.size());
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

// 16 indices in [low, high) from a fixed seed; repeats are allowed, as in any access code.
update::TPreamble Preamble(uint32_t seed, uint32_t low, uint32_t high) {
    update::TPreamble p{};
    uint32_t x = seed;
    for (uint16_t& v : p) {
        x = (x * 1103515245u + 12345u) & 0x7FFFFFFFu;
        v = static_cast<uint16_t>(low + (x >> 8) % (high - low));
    }
    return p;
}

struct TBlock {
    const char* family;
    const char* role;
    const char* file;
    const char* tag;
    uint32_t seed;
    size_t size;
};

const TBlock Blocks[] = {
    {"B", "firmware", "zel2b_fra_firmware.bin", "family B firmware fra 1.0.10", 0x2B0F, 65536},
    {"B", "data", "zel2b_fra_data.bin", "family B data fra", 0x2B0D, 131072},
    {"BX", "firmware", "zel2bx_fra_firmware.bin", "family BX firmware fra 1.0.10", 0x2BF0, 65536},
    {"BX", "data", "zel2bx_fra_data.bin", "family BX data fra", 0x2BD0, 131072},
    {"D", "firmware", "zel2d_firmware.bin", "model D firmware 1.2.1", 0x2D0F, 65536},
    {"B", "loader-new", "loader_new.bin", "loader new method", 0x1001, 1728},
    {"B", "loader-old", "loader_old.bin", "loader old method", 0x1002, 1736},
    {"D", "loader-d", "loader_d.bin", "loader model D", 0x1003, 1596},
};

bool Serves(const TBlock& block, const std::string& family) {
    const std::string role = block.role;
    if (role == "loader-new" || role == "loader-old") return family == "B" || family == "BX";
    return block.family == family;
}

}  // namespace

update::TPreamble SimulatorPreamble(TUpdateProcedure procedure) {
    switch (procedure) {
        // Inside NAV518.BIN, behind the sectors the update writes.
        case TUpdateProcedure::ModelD:
            return Preamble(0xD, 368, update::ModelDTargetSectors);
        // NAVAREA.HTM is one 32-sector window.
        case TUpdateProcedure::New:
            return Preamble(0xE, 0, update::NewTargetSectors);
        case TUpdateProcedure::Old:
            break;
    }
    return Preamble(0xF, 2000, 4000);  // the volume, clear of the written sectors
}

std::vector<uint8_t> SimulatorImage(const std::string& family, const std::string& role) {
    for (const TBlock& block : Blocks)
        if (role == block.role && Serves(block, family)) return Image(block.tag, block.seed, block.size);
    return {};
}

bool MakeFirmwarePackage(const std::string& folder, const std::string& model) {
    const std::string family = update::FamilyOfModel(model);
    if (family.empty()) return false;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::vector<std::pair<std::string, update::TPackageFile>> files;
    for (const TBlock& block : Blocks) {
        if (!Serves(block, family)) continue;
        const std::vector<uint8_t> bytes = Image(block.tag, block.seed, block.size);
        if (!platform::WriteFileAtomic(platform::JoinPath(folder, block.file), bytes.data(), bytes.size()))
            return false;
        files.push_back(
            {block.role, {block.file, bytes.size(), platform::Sha256Hex(bytes.data(), bytes.size())}});
    }
    std::vector<std::pair<std::string, update::TPreamble>> preambles;
    if (family == "D") {
        preambles.push_back({"preamble-d", SimulatorPreamble(TUpdateProcedure::ModelD)});
    } else {
        preambles.push_back({"preamble-new", SimulatorPreamble(TUpdateProcedure::New)});
        preambles.push_back({"preamble-old", SimulatorPreamble(TUpdateProcedure::Old)});
    }
    const std::string version = family == "D" ? "1.2.1" : "1.0.10";
    const std::string manifest = update::ManifestText(family, version, true, files, preambles);
    return platform::WriteFileAtomic(platform::JoinPath(folder, update::ManifestName), manifest.data(),
                                     manifest.size());
}

}  // namespace sim
