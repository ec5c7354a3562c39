// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DriveMap.h"

#include <mutex>
#include <sstream>

#include "platform/Files.h"
#include "platform/Process.h"

namespace platform {
namespace {

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += PathSeparator();
    return path;
}

DriveType ParseType(const std::string& word) {
    if (word == "removable") return DriveType::Removable;
    if (word == "fixed") return DriveType::Fixed;
    if (word == "remote") return DriveType::Remote;
    if (word == "cdrom") return DriveType::CdRom;
    if (word == "ramdisk") return DriveType::RamDisk;
    return DriveType::Unknown;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

}  // namespace

std::vector<DriveEntry> ParseDriveMap(const std::string& text) {
    std::vector<DriveEntry> drives;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 4 || f[0].empty()) continue;
        char letter = f[0][0];
        if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'A' || letter > 'Z') continue;
        DriveEntry d;
        d.index = letter - 'A';
        d.type = ParseType(f[1]);
        d.label = f[2];
        d.root = WithSeparator(f[3]);
        d.raw = f.size() > 4 ? f[4] : std::string();
        drives.push_back(d);
    }
    return drives;
}

namespace {

// The outermost snapshot of this thread. Only a plain pointer is thread-local: MinGW's
// threads may free thread-local storage before running the destructors of its objects.
thread_local DriveSnapshot* currentSnapshot = nullptr;

bool LookAtDriveMap(std::vector<DriveEntry>& drives);

}  // namespace

DriveSnapshot::DriveSnapshot() : outer(currentSnapshot) {
    if (!outer) currentSnapshot = this;
}

DriveSnapshot::~DriveSnapshot() {
    if (!outer) currentSnapshot = nullptr;
}

bool DriveMapDrives(std::vector<DriveEntry>& drives) {
    DriveSnapshot* const snapshot = currentSnapshot;
    if (!snapshot) return LookAtDriveMap(drives);
    if (!snapshot->taken) {
        snapshot->hasMap = LookAtDriveMap(snapshot->drives);
        snapshot->taken = true;
    }
    if (snapshot->hasMap) drives = snapshot->drives;
    return snapshot->hasMap;
}

namespace {

bool LookAtDriveMap(std::vector<DriveEntry>& drives) {
    const std::string map = GetEnv("ZEL2_DRIVES");
    if (map.empty()) return false;
    // Both threads ask for drives; the last parse is shared.
    static std::mutex lock;
    static std::string parsedPath;
    static FileStamp parsedStamp;
    static std::vector<DriveEntry> parsed;
    const std::lock_guard<std::mutex> hold(lock);
    const FileStamp stamp = StampOf(map);
    if (map != parsedPath || !(stamp == parsedStamp) || !stamp.exists) {
        std::vector<uint8_t> bytes;
        parsed = stamp.exists && ReadWholeFile(map, bytes, 1 << 20)
                     ? ParseDriveMap(std::string(bytes.begin(), bytes.end()))
                     : std::vector<DriveEntry>{};
        parsedPath = map;
        parsedStamp = stamp;
    }
    drives = parsed;
    return true;
}

}  // namespace
}  // namespace platform
