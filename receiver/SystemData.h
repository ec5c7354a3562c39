// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 556-byte image of SYSTEM.BIN. It stays one byte block because it is read, written
// and partly overwritten as one; the fields are typed views over its bytes.
class TSystemData {
public:
    static constexpr size_t Size = 556;
    static constexpr uint16_t Invalid = 65535;
    static constexpr int RingSize = 10240;

    uint8_t* Data() { return bytes.data(); }
    const uint8_t* Data() const { return bytes.data(); }

    int16_t SampleSector(int i) const;  // i = 0..255
    void SetSampleSector(int i, int16_t value);
    uint16_t WriteIndex() const;
    void SetWriteIndex(uint16_t value);
    uint16_t ValidCount() const;
    void SetValidCount(uint16_t value);
    uint32_t Battery() const;
    void SetBattery(uint32_t value);
    uint8_t State() const { return bytes[524]; }
    void SetState(uint8_t value) { bytes[524] = value; }
    std::array<uint8_t, 3> FirmwareVersion() const { return {bytes[525], bytes[526], bytes[527]}; }
    void SetFirmwareVersion(const std::array<uint8_t, 3>& v);
    int FirmwareVersionNumber() const;  // major * 10000 + minor * 100 + patch
    std::string SerialNumber() const;   // 12 characters as stored
    void SetSerialNumber(const std::string& twelve);
    // Slots 0..2 of the recent message identifiers, 4 bytes each.
    std::string RecentMessageId(int slot) const;
    const uint8_t* RecentMessageIds() const { return &bytes[540]; }
    uint8_t* RecentMessageIds() { return &bytes[540]; }
    int16_t PressureRaw() const;
    void SetPressureRaw(int16_t value);
    int16_t TemperatureTenths() const;
    void SetTemperatureTenths(int16_t value);

    // Out-of-range ring values become 65535, so the chart and the transfer skip them.
    void ClampIndices();
    // What a missing status file leaves; the sample sector keeps its contents.
    void SetFailureDefaults();

private:
    std::array<uint8_t, Size> bytes{};
};
