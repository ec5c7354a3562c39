// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/UpdateModeEmulator.h"

#include <algorithm>
#include <cstring>

#include "app/CommandLine.h"
#include "platform/Files.h"
#include "sim/SimulatorFirmware.h"

namespace sim {

using Target = TUpdateModeEmulator::Target;

namespace {

constexpr size_t Sector = platform::SectorSize;

struct Codes {
    uint16_t unlockFirst, unlockSecond, lock, start;
};

Codes CodesOf(Target t) {
    switch (t) {
        case Target::ModelDFile:
            return {202, 195, 193, 197};
        case Target::NewFile:
            return {1, 2, 3, 20};
        case Target::Volume:
            break;
    }
    return {856, 849, 847, 851};
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && app::UpperAscii(text.substr(text.size() - tail.size())) == tail;
}

}  // namespace

update::TPreamble TUpdateModeEmulator::PreambleOf(Target t) {
    switch (t) {
        case Target::ModelDFile:
            return SimulatorPreamble(TUpdateProcedure::ModelD);
        case Target::NewFile:
            return SimulatorPreamble(TUpdateProcedure::New);
        case Target::Volume:
            break;
    }
    return SimulatorPreamble(TUpdateProcedure::Old);
}

void TUpdateModeEmulator::LoadVolume(const std::string& folder) {
    std::vector<uint8_t> bytes;
    Load(Target::ModelDFile, platform::ReadWholeFile(platform::JoinPath(folder, "NAV518.BIN"), bytes)
                                 ? bytes
                                 : std::vector<uint8_t>{});
    Load(Target::NewFile, platform::ReadWholeFile(platform::JoinPath(folder, "HTML\\NAVAREA.HTM"), bytes)
                              ? bytes
                              : std::vector<uint8_t>{});
    Load(Target::Volume, std::vector<uint8_t>(VolumeSize, 0));
}

void TUpdateModeEmulator::Load(Target t, std::vector<uint8_t> bytes) {
    contents[t] = std::move(bytes);
}

uint64_t TUpdateModeEmulator::Size(Target t) const {
    auto it = contents.find(t);
    return it == contents.end() ? 0 : it->second.size();
}

void TUpdateModeEmulator::SawSectorRead(Target t, uint32_t sector) {
    std::vector<uint32_t>& recent = recentReads[t];
    recent.push_back(sector);
    if (recent.size() > 17) recent.erase(recent.begin());
    if (recent.size() < 17) return;
    const update::TPreamble preamble = PreambleOf(t);
    if (!std::equal(preamble.begin(), preamble.end(), recent.begin())) return;
    const auto command = static_cast<uint16_t>(recent.back());
    recent.clear();
    Commands.push_back({t, command});
    const Codes codes = CodesOf(t);
    if (command == codes.unlockSecond && lastCommand[t] == codes.unlockFirst) unlocked[t] = true;
    if (command == codes.lock) unlocked[t] = false;
    if (command == codes.start) Started = true;
    if (t == Target::NewFile && ((command >= 4 && command <= 7) || (command >= 12 && command <= 19)))
        window = command;
    lastCommand[t] = command;
}

std::vector<uint8_t>& TUpdateModeEmulator::Storage(Target t, uint64_t offset) {
    // The first 32 sectors of NAVAREA.HTM are the chunk of the last command.
    if (t == Target::NewFile && offset < update::ChunkBytes && window >= 0) {
        std::vector<uint8_t>& chunk = chunks[window];
        chunk.resize(update::ChunkBytes, 0);
        return chunk;
    }
    return contents[t];
}

long long TUpdateModeEmulator::Read(Target t, uint64_t offset, uint8_t* buffer, size_t size) {
    const uint64_t limit = Size(t);
    if (offset >= limit) return 0;
    size = static_cast<size_t>(std::min<uint64_t>(size, limit - offset));
    if (size == Sector && offset % Sector == 0) SawSectorRead(t, static_cast<uint32_t>(offset / Sector));
    const std::vector<uint8_t>& data = Storage(t, offset);
    std::memset(buffer, 0, size);
    if (offset < data.size())
        std::memcpy(buffer, data.data() + offset, std::min<uint64_t>(size, data.size() - offset));
    // Reading back a written chunk: a corrupted link flips one byte.
    if (CorruptReadBack && size >= update::ChunkBytes / 4) buffer[size / 2] ^= 0x5A;
    return static_cast<long long>(size);
}

long long TUpdateModeEmulator::Write(Target t, uint64_t offset, const uint8_t* buffer, size_t size) {
    if (!unlocked[t]) return -1;  // not in update mode: the receiver refuses
    // A file on the receiver does not grow: what lies past its end is not written.
    const uint64_t limit = Size(t);
    if (offset >= limit) return -1;
    size = static_cast<size_t>(std::min<uint64_t>(size, limit - offset));
    const bool inWindow = t == Target::NewFile && offset < update::ChunkBytes && window >= 0;
    if (inWindow) size = static_cast<size_t>(std::min<uint64_t>(size, update::ChunkBytes - offset));
    Writes.push_back({t, static_cast<uint32_t>(offset / Sector), static_cast<uint32_t>(size / Sector),
                      inWindow ? window : -1});
    std::vector<uint8_t>& data = Storage(t, offset);
    std::memcpy(data.data() + offset, buffer, size);
    return static_cast<long long>(size);
}

platform::TargetOpen TEmulatedUpdateTarget::Open(const std::string& path, bool writableOpen) {
    open = false;
    Opens.emplace_back(path, writableOpen);
    if (EndsWithIgnoringCase(path, "NAV518.BIN"))
        current = Target::ModelDFile;
    else if (EndsWithIgnoringCase(path, "NAVAREA.HTM"))
        current = Target::NewFile;
    else if (path == volumePath)
        current = Target::Volume;
    else
        return platform::TargetOpen::Failed;
    if (!Present[current]) return platform::TargetOpen::Failed;
    if (current == Target::Volume && VolumeNeedsRights) return platform::TargetOpen::NoRights;
    open = true;
    writable = writableOpen;
    return platform::TargetOpen::Ok;
}

long long TEmulatedUpdateTarget::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (!open) return -1;
    if (ReadsBeforeRemoval >= 0 && Reads >= ReadsBeforeRemoval) return -1;
    ++Reads;
    return emulator.Read(current, offset, static_cast<uint8_t*>(buffer), size);
}

long long TEmulatedUpdateTarget::WriteAt(uint64_t offset, const void* buffer, size_t size) {
    if (!open || !writable) return -1;
    if (WritesTried++ == FailingWrite) {
        CommandsAtFailure = emulator.Commands.size();
        WritesAtFailure = emulator.Writes.size();
        if (!CutShort) return -1;
        const long long written =
            emulator.Write(current, offset, static_cast<const uint8_t*>(buffer), size / 2);
        WritesAtFailure = emulator.Writes.size();
        return written;
    }
    return emulator.Write(current, offset, static_cast<const uint8_t*>(buffer), size);
}

bool TEmulatedUpdateTarget::Flush() {
    ++Flushes;
    return open;
}

bool TEmulatedUpdateTarget::SetAttributes(const std::string& path, unsigned attributes) {
    Attributes.emplace_back(path, attributes);
    return true;
}

}  // namespace sim
