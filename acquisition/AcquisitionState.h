// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "receiver/ReceiverDetection.h"
#include "receiver/SavedState.h"

// The state the acquisition thread shares with the window. Every step that touches it
// from the window's side runs as a synchronised call, so plain fields suffice; the busy
// flag alone is read by the window's timer at any moment.
struct TAcquisitionState : TSavedState {
    receiver::DetectionState Detection;  // ReceiverModel, PreviousDrive, DriveFound
    int CurrentDrive = receiver::NoDrive;
    int CycleCounter = 0;
    uint8_t NewMessages = 0;
    uint8_t BaroLoaded = 0;
    uint8_t TendencyEnabled = 0;
    uint8_t TreeRebuild = 1;
    uint16_t LastLoadedIndex = 65535;
    uint32_t NewestInternationalTime = 0;
    uint32_t NewestNationalTime = 0;

    std::array<uint8_t, 12> PreviousMessageIds{};

    std::string CurrentMessagesText;
    std::string TemperatureText, PressureText, TendencyText;
    // The numbers behind those texts, for the boat's network; empty when not shown.
    std::optional<double> SeaLevelHpa, TemperatureC, TendencyHpa3h;
    std::string FirmwareVersionText, SerialNumberText;

    std::atomic<uint8_t> Busy{0};

    const std::string& ReceiverModel() const { return Detection.ReceiverModel; }
};

// Busy while a status read or a transfer step runs, whichever way it ends.
class TBusyScope {
public:
    explicit TBusyScope(std::atomic<uint8_t>& flag) : flag(flag) { flag = 1; }
    ~TBusyScope() { flag = 0; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    std::atomic<uint8_t>& flag;
};

// The one instance the program shares between the acquisition thread and the window.
extern TAcquisitionState Acquisition;
