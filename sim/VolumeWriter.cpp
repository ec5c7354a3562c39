// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/VolumeWriter.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <vector>

#include "common/LittleEndian.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace sim {
namespace {

constexpr int RingSize = 10240;

using Message = SimMessage;

// A small, believable day of traffic on both bands; each text is of its subject letter
// (A navigational warning, B meteorological warning, E forecast, L further navigational warning).
const std::vector<Message> International = {
    {"FA12", 35,
     "CROSS CORSEN\nNAVIGATIONAL WARNING NR 214\nOUESSANT TSS.\n"
     "WRECK DANGEROUS TO NAVIGATION IN 48-31.2N 005-21.4W. WIDE BERTH REQUESTED.\n"},
    {"GB05", 190,
     "NITON\nGALE WARNING 0512\nPORTLAND PLYMOUTH\n"
     "SOUTHWEST GALE FORCE 8 IMMINENT, INCREASING SEVERE GALE 9 LATER.\n"},
    {"EE33", 410,
     "CULLERCOATS\nMETEO FORECAST\nHUMBER THAMES: SOUTHWEST 5 TO 7.\n"
     "RAIN THEN SHOWERS. MODERATE OR GOOD.\n"},
    {"AL02", 720,
     "CROSS GRIS NEZ\nNAVIGATIONAL WARNING 0033\nDOVER STRAIT.\n"
     "DRIFTING CONTAINER REPORTED 50-58.2N 001-12.7E AT 080915 UTC.\nVESSELS KEEP A SHARP LOOKOUT.\n"},
};
const std::vector<Message> National = {
    {"AE07", 60,
     "CROSS ETEL\nBULLETIN COTIER\nDE PENMARCH A L'ANSE DE L'AIGUILLON\n"
     "SUD-OUEST 5 A 6, MER AGITEE, HOULE OUEST 2 M.\n"},
    {"AA41", 300,
     "CROSS CORSEN\nAVURNAV 0871\nCHENAL DU FOUR: BOUEE CARDINALE OUEST\n"
     "DE LA BASSE ROYALE ETEINTE.\n"},
};

// The usual traffic and what the options add, newest first.
std::vector<Message> Traffic518(const VolumeOptions& o) {
    std::vector<Message> all = o.more518;
    all.insert(all.end(), International.begin(), International.end());
    std::stable_sort(all.begin(), all.end(),
                     [](const Message& a, const Message& b) { return a.ageMinutes < b.ageMinutes; });
    return all;
}

std::string NavtexText(const Message& m, const char* frame) {
    std::string text = std::string(frame) + " " + m.id + "\n" + m.body + "NNNN\n";
    return text;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return platform::WriteFileAtomic(path, bytes.data(), bytes.size());
}

bool WriteText(const std::string& path, const std::string& text) {
    return platform::WriteFileAtomic(path, text.data(), text.size());
}

bool EnsureFolder(const std::string& path) {
    return platform::FolderExists(path) || platform::CreateFolder(path);
}

// A low passing through: a fall of a few hPa over some hours, then a rise, over a week.
}  // namespace

int16_t PressureAt(double minutesAgo, Weather weather) {
    if (weather == Weather::Steady) return 1320;  // 1013.2 hPa, hour after hour
    if (weather == Weather::Storm) {
        // Falling 4 hPa in the last three hours, after a quiet day at 1014 hPa.
        const double fall = minutesAgo >= 180 ? 4.0 : 4.0 * minutesAgo / 180.0;
        return static_cast<int16_t>(std::lround((1010.0 + fall) * 100.0 - 100000.0));
    }
    const double hours = minutesAgo / 60.0;
    const double low = -22.0 * std::exp(-std::pow((hours - 30.0) / 12.0, 2.0));
    const double daily = 0.6 * std::sin(hours / 24.0 * 2.0 * 3.14159265358979);
    const double hPa = 1016.0 + low + daily - 0.01 * hours;
    return static_cast<int16_t>(std::lround(hPa * 100.0 - 100000.0));
}

namespace {

void SetTimes(const std::string& path, int64_t when) {
    const platform::LocalDateTime t = platform::ToLocal(when);
    platform::SetFileTimes(path, t, t, t);
}

bool WriteMessageFolder(const std::string& folder, const std::vector<Message>& messages, const char* frame,
                        int64_t now) {
    if (!EnsureFolder(folder)) return false;
    for (const Message* m = messages.data(); m != messages.data() + messages.size(); ++m) {
        const std::string path = platform::JoinPath(folder, m->id + ".TXT");
        if (!WriteText(path, WithCrLf(NavtexText(*m, frame)))) return false;
        SetTimes(path, now - m->ageMinutes * 60);
    }
    return true;
}

bool MakeFileModel(const std::string& model, const std::string& folder, const VolumeOptions& o, int64_t now) {
    const bool barograph = model == "ZEL2B" || model == "ZEL2BX";
    // Anywhere in the ring; the newest sample sits just before it.
    const int writeIndex = ((o.writeIndex % RingSize) + RingSize) % RingSize;
    std::vector<int16_t> ring(RingSize, 0);
    for (int age = 0; age < RingSize; ++age) {
        const int position = ((writeIndex - 1 - age) % RingSize + RingSize) % RingSize;
        ring[static_cast<size_t>(position)] = PressureAt(age, o.weather);
    }

    std::vector<uint8_t> system(556, 0);
    const int blockStart = writeIndex / 256 * 256;
    for (int i = 0; i < 256; ++i)
        le::PutI16(&system[static_cast<size_t>(2 * i)], ring[static_cast<size_t>(blockStart + i)]);
    le::PutU16(&system[512], barograph ? writeIndex : 0);
    le::PutU16(&system[514], barograph ? RingSize : 0);
    le::PutU32(&system[520], 87);
    system[524] = 1;
    system[525] = 1;
    system[526] = 0;
    system[527] = 12;
    const std::string serial = model == "ZEL2"    ? "Z20120400317"
                               : model == "ZEL2X" ? "X20130900042"
                               : model == "ZEL2B" ? "B20140300158"
                                                  : "BX2015010077";
    for (size_t i = 0; i < 12; ++i) system[528 + i] = static_cast<uint8_t>(serial[i]);
    const char* ids[3] = {International[2].id.c_str(), International[1].id.c_str(),
                          International[0].id.c_str()};
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < 4; ++i)
            system[static_cast<size_t>(540 + 4 * s + i)] = static_cast<uint8_t>(ids[s][i]);
    le::PutI16(&system[552], PressureAt(0, o.weather));
    le::PutI16(&system[554], 185);

    if (o.withIndexFile &&
        !WriteText(platform::JoinPath(folder, "INDEX.HTM"),
                   WithCrLf("<html><head><title>" + model + "</title></head>\n<body>NAVTEX " + model +
                            "</body></html>\n")))
        return false;
    if (o.withSystemFile && !WriteBytes(platform::JoinPath(folder, "SYSTEM.BIN"), system)) return false;
    if (barograph) {
        std::vector<uint8_t> baro(2 * RingSize);
        for (int i = 0; i < RingSize; ++i)
            le::PutI16(&baro[static_cast<size_t>(2 * i)], ring[static_cast<size_t>(i)]);
        if (!WriteBytes(platform::JoinPath(folder, "BARODATA.BIN"), baro)) return false;
    }
    if (!EnsureFolder(platform::JoinPath(folder, "HTML"))) return false;
    if (!WriteBytes(platform::JoinPath(folder, "HTML\\NAVAREA.HTM"), std::vector<uint8_t>(16384, ' ')))
        return false;
    return WriteMessageFolder(platform::JoinPath(folder, "INTERNAT"), Traffic518(o), "ZCZC", now) &&
           WriteMessageFolder(platform::JoinPath(folder, "NATIONAL"), National, "ZCZC", now);
}

}  // namespace

uint32_t ReceiverSeconds(int64_t unixSeconds) {
    const int64_t epoch = platform::FromLocal({2008, 1, 1, 0, 0, 0, 0});
    return static_cast<uint32_t>(unixSeconds - epoch);
}

namespace {

// One band's ring: header block, continuation blocks, erased rest.
std::vector<uint8_t> MessageRing(const std::vector<Message>& messages, int64_t now, int firstBlock,
                                 int16_t& next) {
    const Message* begin = messages.data();
    const Message* end = begin + messages.size();
    std::vector<uint8_t> ring(1024 * 256, 0xFF);
    int block = firstBlock;
    // Oldest first, so the newest ends just before `next`.
    for (const Message* m = end; m != begin;) {
        --m;
        const std::string text = NavtexText(*m, "ZCZC");
        uint8_t* head = &ring[static_cast<size_t>(block) * 256];
        le::PutU32(head, 0x18F96C3B);
        le::PutU32(head + 4, static_cast<uint32_t>(text.size()));
        le::PutU32(head + 8, ReceiverSeconds(now - m->ageMinutes * 60));
        for (int i = 12; i < 17; ++i) head[i] = 0;
        size_t done = std::min<size_t>(239, text.size());
        std::copy(text.begin(), text.begin() + static_cast<long>(done), head + 17);
        block = (block + 1) % 1024;
        while (done < text.size()) {
            uint8_t* cont = &ring[static_cast<size_t>(block) * 256];
            le::PutU32(cont, 0x18F96C3C);
            const size_t n = std::min<size_t>(252, text.size() - done);
            std::copy(text.begin() + static_cast<long>(done), text.begin() + static_cast<long>(done + n),
                      cont + 4);
            done += n;
            block = (block + 1) % 1024;
        }
    }
    next = static_cast<int16_t>(block);
    return ring;
}

bool MakeModelD(const std::string& folder, const VolumeOptions& o, int64_t now) {
    constexpr int fullBlocks = 78, inCurrent = 16, oldestBlock = 201;  // the ring wraps past block 255
    const int total = fullBlocks * 128 + inCurrent;
    std::vector<uint8_t> baro(65536, 0xFF);
    for (int b = 0; b < fullBlocks; ++b) {
        const int block = (oldestBlock + b) % 256;
        for (int i = 0; i < 128; ++i) {
            const int age = total - 1 - (b * 128 + i);
            le::PutI16(&baro[static_cast<size_t>(block * 256 + 2 * i)], PressureAt(age, o.weather));
        }
    }
    int16_t next518 = 0, next490 = 0;
    const std::vector<uint8_t> nav518 = MessageRing(Traffic518(o), now, 1022, next518);
    const std::vector<uint8_t> nav490 = MessageRing(National, now, 300, next490);

    std::vector<uint8_t> system(776, 0);
    le::PutU32(&system[0], ReceiverSeconds(now));
    le::PutU32(&system[4], 1900000);  // 81 % as the status display reckons it
    system[8] = 2;
    system[9] = 1;
    system[10] = 2;
    system[11] = 3;
    const std::string serial = "D20190600211";
    for (size_t i = 0; i < 12; ++i) system[12 + i] = static_cast<uint8_t>(serial[i]);
    le::PutI16(&system[24], PressureAt(0, o.weather));
    le::PutI16(&system[26], static_cast<int16_t>(
                                std::lround((PressureAt(0, o.weather) - PressureAt(180, o.weather)) / 10.0)));
    le::PutU16(&system[28], 12);
    le::PutI16(&system[30], 0);
    le::PutI16(&system[32], 172);
    le::PutI16(&system[42], next518);
    le::PutI16(&system[44], next490);
    for (int i = 0; i < 128; ++i) {
        const int age = inCurrent - 1 - i;
        le::PutI16(&system[static_cast<size_t>(512 + 2 * i)],
                   i < inCurrent ? PressureAt(age, o.weather) : int16_t(-1));
    }
    le::PutU16(&system[768], static_cast<uint16_t>(total));
    system[770] = oldestBlock;

    return (!o.withSystemFile || WriteBytes(platform::JoinPath(folder, "SYSTEM.BIN"), system)) &&
           WriteBytes(platform::JoinPath(folder, "BARO.BIN"), baro) &&
           WriteBytes(platform::JoinPath(folder, "NAV518.BIN"), nav518) &&
           WriteBytes(platform::JoinPath(folder, "NAV490.BIN"), nav490);
}

}  // namespace

bool IsKnownModel(const std::string& model) {
    return model == "ZEL2" || model == "ZEL2B" || model == "ZEL2X" || model == "ZEL2BX" || model == "ZEL2D";
}

bool MakeVolume(const std::string& model, const std::string& folder, const VolumeOptions& options) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (!IsKnownModel(model) || !platform::FolderExists(folder)) return false;
    const int64_t now = options.now != 0 ? options.now : static_cast<int64_t>(std::time(nullptr));
    if (model == "ZEL2D") return MakeModelD(folder, options, now);
    return MakeFileModel(model, folder, options, now);
}

}  // namespace sim
