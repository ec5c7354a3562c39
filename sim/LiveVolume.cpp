// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/LiveVolume.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "sim/VolumeWriter.h"

namespace sim {
namespace {

constexpr int MessageEveryMinutes = 7;
const char* const Transmitters = "AEFGKLS";
const char* const Subjects = "ABDEL";

bool Load(const std::string& path, std::vector<uint8_t>& bytes, size_t size) {
    return platform::ReadWholeFile(path, bytes) && bytes.size() >= size;
}

bool Save(const std::string& path, const std::vector<uint8_t>& bytes) {
    return platform::WriteFileAtomic(path, bytes.data(), bytes.size());
}

std::string NewIdentifier(int minute) {
    const int n = minute / MessageEveryMinutes;
    char id[8];
    std::snprintf(id, sizeof id, "%c%c%02d", Transmitters[n % 7], Subjects[(n / 7) % 5],
                  static_cast<int>(static_cast<unsigned>(n * 13) % 100u));
    return id;
}

// A text of the identifier's own subject, so that the tree's category and the text agree.
std::string MessageText(const std::string& id, int minute) {
    const std::string number = std::to_string(minute);
    std::string body;
    switch (id.size() > 1 ? id[1] : 'A') {
        case 'B':
            body = "GALE WARNING " + number + "\nSOUTHWEST 8, SEVERE GALE 9 LATER.\n";
            break;
        case 'D':
            body = "SAR INFORMATION " + number + "\nOVERDUE YACHT, ANY INFORMATION TO THE MRCC.\n";
            break;
        case 'E':
            body = "WEATHER FORECAST " + number + "\nWEST 4 TO 5, OCCASIONALLY 6. SHOWERS. GOOD.\n";
            break;
        case 'L':
            body = "NAVIGATIONAL WARNING " + number + "\nCABLE OPERATIONS IN PROGRESS, KEEP CLEAR.\n";
            break;
        default:
            body = "NAVIGATIONAL WARNING " + number +
                   "\nBUOY OFF STATION, MARINERS ARE ADVISED TO KEEP CLEAR.\n";
            break;
    }
    return "ZCZC " + id + "\nSIMULATED STATION\n" + body + "NNNN\n";
}

}  // namespace

LiveVolume::LiveVolume(std::string f, int64_t s) : folder(std::move(f)), start(s) {}

bool LiveVolume::AdvanceMinute() {
    ++minute;
    return platform::FileExists(platform::JoinPath(folder, "NAV518.BIN")) ? AdvanceModelD()
                                                                          : AdvanceFileModel();
}

bool LiveVolume::AdvanceFileModel() {
    const std::string systemPath = platform::JoinPath(folder, "SYSTEM.BIN");
    std::vector<uint8_t> system;
    if (!Load(systemPath, system, 556)) return false;
    const int16_t sample = PressureAt(-minute);

    std::vector<uint8_t> baro;
    const std::string baroPath = platform::JoinPath(folder, "BARODATA.BIN");
    if (Load(baroPath, baro, 20480)) {
        int w = le::U16(&system[512]) % 10240;
        le::PutI16(&baro[static_cast<size_t>(2 * w)], sample);
        w = (w + 1) % 10240;
        le::PutU16(&system[512], static_cast<uint16_t>(w));
        le::PutU16(&system[514], 10240);
        const int block = w / 256 * 256;  // the sector is the block that holds WriteIndex
        for (int i = 0; i < 256; ++i)
            le::PutI16(&system[static_cast<size_t>(2 * i)],
                       le::I16(&baro[static_cast<size_t>(2 * (block + i))]));
        if (!Save(baroPath, baro)) return false;
    }
    le::PutI16(&system[552], sample);
    le::PutU32(&system[520], static_cast<uint32_t>(87 - (minute / 30) % 40));
    system[524] = static_cast<uint8_t>((minute / 20) % 2 == 0 ? 1 : 4);

    if (minute % MessageEveryMinutes == 0) {
        const std::string id = NewIdentifier(minute);
        const std::string path = platform::JoinPath(folder, "INTERNAT\\" + id + ".TXT");
        std::string text;
        for (char c : MessageText(id, minute)) {
            if (c == '\n') text += '\r';
            text += c;
        }
        if (!platform::WriteFileAtomic(path, text.data(), text.size())) return false;
        std::copy(system.begin() + 544, system.begin() + 552, system.begin() + 540);
        std::copy(id.begin(), id.end(), system.begin() + 548);
    }
    return Save(systemPath, system);
}

bool LiveVolume::AdvanceModelD() {
    const std::string systemPath = platform::JoinPath(folder, "SYSTEM.BIN");
    std::vector<uint8_t> system, baro;
    if (!Load(systemPath, system, 776) || !Load(platform::JoinPath(folder, "BARO.BIN"), baro, 65536))
        return false;
    const int16_t sample = PressureAt(-minute);
    le::PutU32(&system[0], ReceiverSeconds(start + 60LL * minute));
    le::PutI16(&system[24], sample);

    const int count = le::U16(&system[768]);
    const int used = count == 0 ? 0 : (count - 1) % 128 + 1;
    if (used == 128) {  // the current block is full: it moves into the ring
        const int full = (count - 1) / 128 + 1;
        const int oldest = system[770];
        const int block = (oldest + std::min(full - 1, 255)) % 256;
        std::copy(system.begin() + 512, system.begin() + 768, baro.begin() + block * 256);
        if (full > 255) system[770] = static_cast<uint8_t>((oldest + 1) % 256);
        std::fill(system.begin() + 512, system.begin() + 768, uint8_t{0xFF});
        le::PutI16(&system[512], sample);
        if (!Save(platform::JoinPath(folder, "BARO.BIN"), baro)) return false;
    } else {
        le::PutI16(&system[static_cast<size_t>(512 + 2 * used)], sample);
    }
    if (count < 65535) le::PutU16(&system[768], static_cast<uint16_t>(count + 1));

    if (minute % MessageEveryMinutes == 0) {
        std::vector<uint8_t> ring;
        const std::string ringPath = platform::JoinPath(folder, "NAV518.BIN");
        if (!Load(ringPath, ring, 262144)) return false;
        const std::string text = MessageText(NewIdentifier(minute), minute);
        int block = le::I16(&system[42]) % 1024;
        uint8_t* head = &ring[static_cast<size_t>(block) * 256];
        std::fill(head, head + 256, uint8_t{0});
        le::PutU32(head, 0x18F96C3B);
        le::PutU32(head + 4, static_cast<uint32_t>(text.size()));
        le::PutU32(head + 8, le::U32(&system[0]));
        std::copy(text.begin(), text.begin() + static_cast<long>(std::min<size_t>(239, text.size())),
                  head + 17);
        block = (block + 1) % 1024;
        // The block after the newest message is erased, as the receiver leaves it.
        std::fill(&ring[static_cast<size_t>(block) * 256], &ring[static_cast<size_t>(block) * 256] + 4,
                  uint8_t{0xFF});
        le::PutI16(&system[42], static_cast<int16_t>(block));
        if (!Save(ringPath, ring)) return false;
    }
    return Save(systemPath, system);
}

int RunLive(const std::string& folder, double speed, double seconds) {
    if (speed <= 0) speed = 1;
    LiveVolume volume(folder, static_cast<int64_t>(std::time(nullptr)));
    const auto begin = std::chrono::steady_clock::now();
    const auto period = std::chrono::duration<double>(60.0 / speed);
    for (;;) {
        std::this_thread::sleep_for(period);
        if (!volume.AdvanceMinute()) {
            std::fprintf(stderr, "zel2sim: cannot update %s\n", folder.c_str());
            return 1;
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        if (seconds > 0 && elapsed >= seconds) return 0;
    }
}

}  // namespace sim
