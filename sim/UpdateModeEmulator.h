// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "update/FirmwareTransfer.h"

namespace sim {

// The receiver's update mode: it watches the sector reads of its three targets for an
// access code followed by a command sector, takes writes once unlocked, serves sectors
// 0..31 of HTML\NAVAREA.HTM as the chunk the last command chose, and reads back what was
// written. Every command and write is recorded. Each target has the real size of what it
// stands for, and reads past its end come back short, as on a FAT volume.
class TUpdateModeEmulator {
public:
    enum class Target { ModelDFile, NewFile, Volume };

    struct SectorWrite {
        Target target;
        uint32_t firstSector;
        uint32_t sectors;
        int window;  // NAVAREA.HTM: 4..7 firmware chunk, 12..19 data chunk; -1 otherwise
        bool operator==(const SectorWrite&) const = default;
    };
    struct Command {
        Target target;
        uint16_t command;
        bool operator==(const Command&) const = default;
    };

    // Takes the receiver files of a volume folder as the two file targets (a missing file
    // stays empty) and a raw volume of VolumeSize.
    void LoadVolume(const std::string& folder);
    // One target's bytes as the receiver holds them before the update.
    void Load(Target target, std::vector<uint8_t> bytes);
    bool Loaded(Target target) const { return contents.count(target) != 0; }
    uint64_t Size(Target target) const;

    // Bytes at a byte offset, short at the end of the target.
    long long Read(Target target, uint64_t offset, uint8_t* buffer, size_t size);
    long long Write(Target target, uint64_t offset, const uint8_t* buffer, size_t size);

    std::vector<Command> Commands;
    std::vector<SectorWrite> Writes;
    bool Started = false;          // the start command arrived
    bool CorruptReadBack = false;  // tests: flips a byte of every read-back of written data

    // What the receiver holds after the transfer, for the checks.
    const std::vector<uint8_t>& Contents(Target target) { return contents[target]; }
    const std::vector<uint8_t>& Chunk(int window) { return chunks[window]; }

    // The simulated receiver's raw volume.
    static constexpr uint64_t VolumeSize = 4u << 20;

private:
    void SawSectorRead(Target target, uint32_t sector);
    static update::TPreamble PreambleOf(Target target);
    std::vector<uint8_t>& Storage(Target target, uint64_t offset);

    std::map<Target, std::vector<uint8_t>> contents;
    std::map<int, std::vector<uint8_t>> chunks;
    std::map<Target, std::vector<uint32_t>> recentReads;
    std::map<Target, bool> unlocked;
    std::map<Target, uint16_t> lastCommand;
    int window = -1;
};

// The emulation behind the transfer's target, for tests: paths ending in NAV518.BIN or
// NAVAREA.HTM are the receiver files, volumePath the raw volume. present says which exist.
class TEmulatedUpdateTarget : public update::IUpdateTarget {
public:
    TEmulatedUpdateTarget(TUpdateModeEmulator& emulator, std::string volumePath)
        : emulator(emulator), volumePath(std::move(volumePath)) {}

    std::map<TUpdateModeEmulator::Target, bool> Present{{TUpdateModeEmulator::Target::ModelDFile, true},
                                                        {TUpdateModeEmulator::Target::NewFile, true},
                                                        {TUpdateModeEmulator::Target::Volume, true}};
    bool VolumeNeedsRights = false;
    std::vector<std::pair<std::string, unsigned>> Attributes;
    std::vector<std::pair<std::string, bool>> Opens;  // path, writable
    int Flushes = 0;
    int Reads = 0;                // reads made through the target
    int ReadsBeforeRemoval = -1;  // tests: the receiver is pulled after this many reads
    int FailingWrite = -1;        // tests: this write (0 for the first) fails, as on EIO...
    bool CutShort = false;        // ... or is cut short, half of it written
    size_t CommandsAtFailure = 0, WritesAtFailure = 0;  // what the receiver had seen then
    int WritesTried = 0;

    platform::TargetOpen Open(const std::string& path, bool writable) override;
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    long long Size() override { return open ? static_cast<long long>(emulator.Size(current)) : -1; }
    long long ReadAt(uint64_t offset, void* buffer, size_t size) override;
    long long WriteAt(uint64_t offset, const void* buffer, size_t size) override;
    bool Flush() override;
    bool SetAttributes(const std::string& path, unsigned attributes) override;

private:
    TUpdateModeEmulator& emulator;
    std::string volumePath;
    bool open = false, writable = false;
    TUpdateModeEmulator::Target current = TUpdateModeEmulator::Target::Volume;
};

}  // namespace sim
