// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class ReadOnlyFile;
}

// Short-lived reader of a ZEL2D receiver's four files. Readers report success as a
// Boolean and never throw; fields a failed read did not reach stay zero.
class TZel2d {
public:
    using Lines = std::vector<std::string>;  // one message: its text lines, 8-bit bytes

    static constexpr int SampleCapacity = 33537;
    static constexpr int MaxFullBlocks = 256;
    static constexpr int OfferedSamples = 10239;
    static constexpr int RingBlocks = 1024;
    static constexpr uint32_t HeaderSignature = 0x18F96C3B;
    static constexpr uint32_t ContinuationSignature = 0x18F96C3C;
    static constexpr uint32_t ErasedWord = 0xFFFFFFFF;
    static constexpr uint32_t MaxMessageAge = 172800;  // two days, in seconds
    static const std::array<uint16_t, 201> AltitudeFactor;

    explicit TZel2d(std::string drivePath);
    virtual ~TZel2d() = default;

    bool ReadSystem();
    bool ReadBarograph();
    bool ReadNav518();
    bool ReadNav490();
    // The scan of a band on the ring file's bytes as read (after ReadSystem): what
    // ReadNav518/ReadNav490 do once they have the file.
    bool ParseNav(bool international, const std::vector<uint8_t>& ring);
    static constexpr size_t RingBytes = RingBlocks * 256;

    std::array<uint8_t, 3> FirmwareVersion() const { return {Major, Minor, Patch}; }
    std::array<uint8_t, 12> SerialNumber() const { return Serial; }
    double Pressure() const { return SeaLevel(PressureRaw); }
    double Tendency() const;
    double Temperature() const { return TemperatureTenths / 10.0; }
    uint16_t BaroCount() const;
    double BaroValue(int index) const;

    int Nav518Count() const { return static_cast<int>(nav518.size()); }
    int Nav490Count() const { return static_cast<int>(nav490.size()); }
    const Lines* Nav518Lines(int index) const;
    const Lines* Nav490Lines(int index) const;
    uint32_t Nav518Time(int index) const;
    uint32_t Nav490Time(int index) const;

    const std::string& DrivePath() const { return drivePath; }
    // Sea-level pressure in hPa of one raw value (Pa - 100000).
    double SeaLevel(int16_t raw) const;

    // The head of SYSTEM.BIN (bytes 0..45).
    uint32_t ReceiverTime = 0;
    uint32_t Battery = 0;
    uint8_t State = 0;
    uint8_t Major = 0, Minor = 0, Patch = 0;
    std::array<uint8_t, 12> Serial{};
    int16_t PressureRaw = 0;
    int16_t TendencyRaw = 0;
    uint16_t Altitude = 0;
    int16_t PressureOffset = 0;
    int16_t TemperatureTenths = 0;
    int16_t Nav518Next = 0;
    int16_t Nav490Next = 0;
    // The barograph area (bytes 512..775).
    std::array<int16_t, 128> CurrentBlock{};
    uint16_t SampleCount = 0;
    uint8_t OldestBlock = 0;
    // Oldest first after ReadBarograph, which makes room for SampleCapacity samples; a
    // reader of messages only does not pay for them.
    std::vector<int16_t> Samples;

private:
    bool ReadHead(platform::ReadOnlyFile& file);
    int StoredCount() const;
    bool ReadNav(const char* fileName, bool international);
    bool ReadMessage(const std::vector<uint8_t>& ring, int block, std::vector<Lines>& messages,
                     std::vector<uint32_t>& times);

    std::string drivePath;
    std::vector<Lines> nav518, nav490;
    std::vector<uint32_t> nav518Times, nav490Times;
};
