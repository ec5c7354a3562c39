// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/SystemData.h"

#include <algorithm>

#include "common/LittleEndian.h"

int16_t TSystemData::SampleSector(int i) const {
    return le::I16(&bytes[static_cast<size_t>(2 * i)]);
}
void TSystemData::SetSampleSector(int i, int16_t value) {
    le::PutI16(&bytes[static_cast<size_t>(2 * i)], value);
}
uint16_t TSystemData::WriteIndex() const {
    return le::U16(&bytes[512]);
}
void TSystemData::SetWriteIndex(uint16_t value) {
    le::PutU16(&bytes[512], value);
}
uint16_t TSystemData::ValidCount() const {
    return le::U16(&bytes[514]);
}
void TSystemData::SetValidCount(uint16_t value) {
    le::PutU16(&bytes[514], value);
}
uint32_t TSystemData::Battery() const {
    return le::U32(&bytes[520]);
}
void TSystemData::SetBattery(uint32_t value) {
    le::PutU32(&bytes[520], value);
}

void TSystemData::SetFirmwareVersion(const std::array<uint8_t, 3>& v) {
    std::copy(v.begin(), v.end(), &bytes[525]);
}

int TSystemData::FirmwareVersionNumber() const {
    return bytes[525] * 10000 + bytes[526] * 100 + bytes[527];
}

std::string TSystemData::SerialNumber() const {
    return std::string(reinterpret_cast<const char*>(&bytes[528]), 12);
}

void TSystemData::SetSerialNumber(const std::string& twelve) {
    for (size_t i = 0; i < 12; ++i) bytes[528 + i] = i < twelve.size() ? static_cast<uint8_t>(twelve[i]) : 0;
}

std::string TSystemData::RecentMessageId(int slot) const {
    return std::string(reinterpret_cast<const char*>(&bytes[static_cast<size_t>(540 + 4 * slot)]), 4);
}

int16_t TSystemData::PressureRaw() const {
    return le::I16(&bytes[552]);
}
void TSystemData::SetPressureRaw(int16_t value) {
    le::PutI16(&bytes[552], value);
}
int16_t TSystemData::TemperatureTenths() const {
    return le::I16(&bytes[554]);
}
void TSystemData::SetTemperatureTenths(int16_t value) {
    le::PutI16(&bytes[554], value);
}

void TSystemData::ClampIndices() {
    if (WriteIndex() > RingSize - 1) SetWriteIndex(Invalid);
    if (ValidCount() > RingSize) SetValidCount(Invalid);
}

void TSystemData::SetFailureDefaults() {
    SetBattery(0);
    SetState(8);
    SetSerialNumber(std::string(12, '-'));
    SetFirmwareVersion({0, 0, 0});
    std::fill(&bytes[540], &bytes[552], uint8_t{0});
    SetWriteIndex(0);
    SetValidCount(0);
    SetPressureRaw(0);
    SetTemperatureTenths(0);
}
