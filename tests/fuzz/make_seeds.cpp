// SPDX-License-Identifier: GPL-3.0-or-later
// The seeds of the fuzz targets that the program itself writes: saved states of several
// generations and NMEA.INI files, made by the program's own code (scripts/fuzz adds the
// simulator's volumes and firmware packages and the messages in seeds/).
//   make_seeds FOLDER
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "nmea/NmeaSettings.h"
#include "receiver/StateFiles.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    const std::string out = std::string(argv[1]) + "/";
    std::filesystem::create_directories(out + "fuzz_saved_state");
    std::filesystem::create_directories(out + "fuzz_nmea_ini");
    for (int generation = 1; generation <= 3; ++generation) {
        const std::string archive = fuzz::Fresh("seed");
        TSavedState state;
        state.BaroHeight = generation * 100;
        state.ShowLastMessage = static_cast<uint8_t>(generation & 1);
        state.SystemData.SetWriteIndex(static_cast<uint16_t>(generation * 1000));
        state.SystemData.SetValidCount(static_cast<uint16_t>(generation * 3000));
        for (int i = 0; i < 100; ++i)
            state.BaroSamples[static_cast<size_t>(i)] = static_cast<int16_t>(10130 + i);
        TReadMarkList marks(static_cast<size_t>(generation * 7), TReadMark{generation, 1});
        if (!receiver::SaveLocalCopies(archive, state, marks)) return 1;
        std::string seed;
        for (const char* name : {"CONFIG.BIN", "MISC.BIN", "SYSTEM.BIN", "BARODATA.BIN"})
            seed += Read(archive + name) + fuzz::PartMark;
        fuzz::Write(out + "fuzz_saved_state/generation-" + std::to_string(generation), seed);
    }
    const std::pair<const char*, nmea::TNmeaSettings> settings[] = {
        {"default", {}},
        {"tcp-udp", {true, 10111, true, "192.168.1.255", 2000, 2.5}},
        {"ipv6", {true, 1, false, "fe80::1", 65535, 6.0}},
        {"name", {false, 10110, false, "plotter.local", 10110, 3.6}},
    };
    for (const auto& [name, value] : settings) {
        const std::string archive = fuzz::Fresh("seed");
        if (!nmea::SaveNmeaSettings(archive, value)) return 1;
        std::filesystem::copy_file(archive + "NMEA.INI", out + "fuzz_nmea_ini/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    return 0;
}
