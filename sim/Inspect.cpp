// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Inspect.h"

#include <algorithm>
#include <vector>

#include "acquisition/AcquisitionState.h"
#include "acquisition/SystemFileRead.h"
#include "common/DateTime.h"
#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "receiver/StateFiles.h"
#include "receiver/TZel2d.h"

namespace sim {
namespace {

std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += (c >= 32 && c < 127) ? static_cast<char>(c) : '.';
    return out;
}

std::string Stamp(const platform::LocalDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

void PrintFolder(const std::string& folder, const char* title, std::FILE* out) {
    std::vector<platform::FolderEntry> entries = platform::ListFolder(folder);
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    std::fprintf(out, "%s:\n", title);
    for (const auto& e : entries) {
        if (e.isFolder) continue;
        const std::string path = platform::JoinPath(folder, e.name);
        std::vector<uint8_t> text;
        platform::ReadWholeFile(path, text);
        std::string first(text.begin(), std::find_if(text.begin(), text.end(),
                                                     [](uint8_t c) { return c == '\r' || c == '\n'; }));
        platform::LocalDateTime when;
        const bool dated = platform::LastWriteTime(path, when);
        std::fprintf(out, "  %-12s %s %5zu bytes  %s\n", e.name.c_str(), dated ? Stamp(when).c_str() : "?",
                     text.size(), Printable(first).c_str());
    }
}

void InspectFileModel(const std::string& folder, std::FILE* out) {
    TAcquisitionState state;
    acquisition::ReadSystemFile(folder, state, nullptr);
    const TSystemData& d = state.SystemData;
    const auto v = d.FirmwareVersion();
    std::fprintf(out, "SYSTEM.BIN: battery %u, state %u, firmware %u.%u.%u, serial %s\n", d.Battery(),
                 d.State(), v[0], v[1], v[2], Printable(d.SerialNumber()).c_str());
    std::fprintf(out, "  recent messages %s %s %s\n", Printable(d.RecentMessageId(0)).c_str(),
                 Printable(d.RecentMessageId(1)).c_str(), Printable(d.RecentMessageId(2)).c_str());
    std::fprintf(out, "  pressure %.2f hPa, temperature %.1f C, write index %u, valid samples %u\n",
                 (d.PressureRaw() + 100000) / 100.0, d.TemperatureTenths() / 10.0, d.WriteIndex(),
                 d.ValidCount());

    std::vector<uint8_t> baro;
    if (platform::ReadWholeFile(platform::JoinPath(folder, "BARODATA.BIN"), baro) && baro.size() >= 20480 &&
        d.WriteIndex() < 10240) {
        const int valid = std::min<int>(d.ValidCount(), 10240);
        double low = 1e9, high = -1e9;
        for (int age = 0; age < valid; ++age) {
            const int pos = ((d.WriteIndex() - 1 - age) % 10240 + 10240) % 10240;
            const double hPa = (le::I16(&baro[static_cast<size_t>(2 * pos)]) + 100000) / 100.0;
            low = std::min(low, hPa);
            high = std::max(high, hPa);
        }
        const int newest = (d.WriteIndex() + 10239) % 10240;
        std::fprintf(out, "BARODATA.BIN: %d samples, %.2f .. %.2f hPa, newest %.2f hPa\n", valid, low, high,
                     (le::I16(&baro[static_cast<size_t>(2 * newest)]) + 100000) / 100.0);
    } else {
        std::fprintf(out, "BARODATA.BIN: none\n");
    }
    PrintFolder(platform::JoinPath(folder, "INTERNAT"), "INTERNAT", out);
    PrintFolder(platform::JoinPath(folder, "NATIONAL"), "NATIONAL", out);
}

void PrintBand(const TZel2d& d, bool international, std::FILE* out) {
    const int count = international ? d.Nav518Count() : d.Nav490Count();
    std::fprintf(out, "%s: %d messages (newest first)\n", international ? "NAV518.BIN" : "NAV490.BIN", count);
    for (int i = 0; i < count; ++i) {
        const TZel2d::Lines* lines = international ? d.Nav518Lines(i) : d.Nav490Lines(i);
        const uint32_t when = international ? d.Nav518Time(i) : d.Nav490Time(i);
        std::fprintf(out, "  %s  %2zu lines  %s\n", Stamp(datetime::LocalFromReceiverSeconds(when)).c_str(),
                     lines->size(), lines->empty() ? "" : Printable(lines->front()).c_str());
    }
}

void InspectModelD(const std::string& folder, std::FILE* out) {
    TZel2d status(folder);
    if (!status.ReadSystem()) std::fprintf(out, "SYSTEM.BIN: not readable\n");
    const auto serial = status.SerialNumber();
    std::fprintf(out, "SYSTEM.BIN: clock %s, battery %u, state %u, firmware %u.%u.%u, serial %s\n",
                 Stamp(datetime::LocalFromReceiverSeconds(status.ReceiverTime)).c_str(), status.Battery,
                 status.State, status.Major, status.Minor, status.Patch,
                 Printable(std::string(serial.begin(), serial.end())).c_str());
    std::fprintf(out,
                 "  pressure %.1f hPa (sea level), tendency %.1f hPa/3h, temperature %.1f C, altitude %u m\n",
                 status.Pressure(), status.Tendency(), status.Temperature(), status.Altitude);

    TZel2d baro(folder);
    const bool baroOk = baro.ReadBarograph();
    std::fprintf(out, "BARO.BIN: %s, %u samples held, oldest block %u, %u offered",
                 baroOk ? "read" : "incomplete", baro.SampleCount, baro.OldestBlock, baro.BaroCount());
    if (baro.BaroCount() > 0)
        std::fprintf(out, ", oldest %.1f hPa, newest %.1f hPa", baro.BaroValue(0),
                     baro.BaroValue(baro.BaroCount() - 1));
    std::fprintf(out, "\n");

    TZel2d nav(folder);
    if (!nav.ReadNav518()) std::fprintf(out, "NAV518.BIN: not readable\n");
    if (!nav.ReadNav490()) std::fprintf(out, "NAV490.BIN: not readable\n");
    PrintBand(nav, true, out);
    PrintBand(nav, false, out);
}

}  // namespace

bool InspectVolume(const std::string& folder, std::FILE* out) {
    std::string root = folder;
    if (!root.empty() && root.back() != platform::PathSeparator()) root += platform::PathSeparator();
    if (platform::FileExists(platform::JoinPath(root, "NAV518.BIN"))) {
        std::fprintf(out, "ZEL2D volume %s\n", root.c_str());
        InspectModelD(root, out);
        return true;
    }
    if (platform::FileExists(platform::JoinPath(root, "SYSTEM.BIN")) ||
        platform::FileExists(platform::JoinPath(root, "INDEX.HTM"))) {
        std::fprintf(out, "receiver volume %s\n", root.c_str());
        InspectFileModel(root, out);
        return true;
    }
    return false;
}

}  // namespace sim
