// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/UnitDataThread.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "acquisition/MessageTransfer.h"
#include "acquisition/SystemFileRead.h"
#include "common/DateTime.h"
#include "platform/DriveMap.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "receiver/Models.h"
#include "receiver/StateFiles.h"
#include "receiver/TZel2d.h"

namespace {

// TZel2d values are whole tenths; rounding undoes the binary fraction (1013.2 * 100 is
// 101319.99..), which truncation would turn into a pascal less.
int16_t Wrapped16(double value) {
    return static_cast<int16_t>(static_cast<uint16_t>(std::lround(value)));
}

}  // namespace

TGetDataThread::TGetDataThread(TAcquisitionState& s, IAcquisitionWindow& w, Options o)
    : state(s), window(w), options(std::move(o)) {
    SetFreeOnTerminate(false);
    state.CycleCounter = 0;
    state.Detection.PreviousDrive = receiver::NoDrive;
    state.CurrentDrive = receiver::NoDrive;
    state.LastLoadedIndex = 65535;
    state.TemperatureText.clear();
    state.PressureText.clear();
    state.TendencyText.clear();
    state.Busy = 0;
    state.Detection.ReceiverModel.clear();
    std::fill(state.SystemData.RecentMessageIds(), state.SystemData.RecentMessageIds() + 12, uint8_t{0});
    state.NewestInternationalTime = 0;
    state.NewestNationalTime = 0;
    state.TreeRebuild = 1;

    // The firmware version must be current before the window first shows (the offer).
    state.CurrentDrive = receiver::DetectReceiver(state.Detection);
    if (state.CurrentDrive != receiver::NoDrive) {
        const std::string root = platform::DriveRoot(state.CurrentDrive);
        if (receiver::ModelOf(state.ReceiverModel()).storage == receiver::TStorage::Files) {
            platform::ReadOnlyFile file;
            if (file.Open(platform::JoinPath(root, "SYSTEM.BIN")))
                file.ReadAt(0, state.SystemData.Data(), TSystemData::Size);
        } else {
            TZel2d reader(root);
            if (reader.ReadSystem()) state.SystemData.SetFirmwareVersion(reader.FirmwareVersion());
        }
    }
    state.Detection.PreviousDrive = receiver::NoDrive;
    state.CurrentDrive = receiver::NoDrive;

    if (!options.now) options.now = [] { return datetime::Now(); };
}

void TGetDataThread::Pause(int milliseconds) {
    if (options.sleep) {
        options.sleep(milliseconds);
        return;
    }
    // One wake-up a second when idle; closing the program ends the pause at once.
    SleepUnlessTerminated(milliseconds);
}

void TGetDataThread::Execute() {
    while (!Terminated()) {
        RunCycle();
        Pause(1000);
    }
}

// A failing step must not end the polling for the rest of the run: the step is left
// where it failed and the next cycle tries again.
void TGetDataThread::Step(const std::function<void()>& step) {
    try {
        Synchronize(step);
    } catch (const std::exception& error) {
        ++failedSteps;
        platform::Log(std::string("acquisition: a step failed: ") + error.what());
    } catch (...) {
        ++failedSteps;
        platform::Log("acquisition: a step failed");
    }
}

void TGetDataThread::ReadModelDStatus() {
    state.Busy = 1;
    {
        TZel2d reader(driveRoot);
        TSystemData& d = state.SystemData;
        if (reader.ReadSystem()) {
            d.SetBattery(reader.Battery);
            d.SetState(reader.State);
            d.SetFirmwareVersion(reader.FirmwareVersion());
            d.SetWriteIndex(65535);
            d.SetValidCount(0);
            const auto serial = reader.SerialNumber();
            d.SetSerialNumber(std::string(serial.begin(), serial.end()));
            d.SetTemperatureTenths(Wrapped16(reader.Temperature() * 10.0));
            d.SetPressureRaw(Wrapped16(reader.Pressure() * 100.0 - 100000.0));
        } else {
            d.SetFailureDefaults();
            Step([this] { window.RedrawChart(); });
        }
    }
    state.NewMessages = 1;
    state.Busy = 0;
}

void TGetDataThread::RunCycle() {
    state.Detection.PreviousDrive = state.CurrentDrive;
    {
        // The detection and the drive's root come from one look at the drives.
        const platform::DriveSnapshot drives;
        state.CurrentDrive = receiver::DetectReceiver(state.Detection);
        if (state.CurrentDrive != receiver::NoDrive) driveRoot = platform::DriveRoot(state.CurrentDrive);
    }
    ++state.CycleCounter;

    if (state.CurrentDrive == receiver::NoDrive) {
        Step([this] { acquisition::ShowNoReceiver(state, window); });
        return;
    }
    if (state.CurrentDrive == state.Detection.PreviousDrive && state.CycleCounter % 60 != 0) return;

    const receiver::TModel& model = receiver::ModelOf(state.ReceiverModel());
    ReadStatusAndBarograph(model);
    if (state.NewMessages == 1 || state.Detection.DriveFound == 1 || transferPending) {
        TransferMessages(model);
        state.Detection.DriveFound = 0;
    }

    Step([this] {
        window.SetPagesEnabled(false);
        window.SetPagesEnabled(true);
    });
    state.TendencyEnabled = 1;
    ShowStatus();
    Step([this] { window.RefreshShown(); });
}

void TGetDataThread::ShowStatus() {
    const acquisition::StatusContext context{driveRoot, options.decimalSeparator, options.correction};
    Step([&] { acquisition::ShowStatus(state, window, context); });
}

void TGetDataThread::ReadStatusAndBarograph(const receiver::TModel& model) {
    const bool rings = model.storage == receiver::TStorage::Rings;
    if (rings)
        ReadModelDStatus();
    else
        acquisition::ReadSystemFile(driveRoot, state, [this] { Step([this] { window.RedrawChart(); }); });

    if (!model.barograph) {
        state.CurrentMessagesText.clear();
        state.TemperatureText.clear();
        state.PressureText.clear();
        state.TendencyText.clear();
        ShowStatus();
        return;
    }
    state.TendencyEnabled = 0;
    ShowStatus();
    Step([&] {
        if (rings)
            acquisition::LoadBaroModelD(driveRoot, state, window, options.now());
        else
            acquisition::LoadBaroFile(driveRoot, state, window, options.now());
    });
    if (state.BaroLoaded == 1) Step([this] { window.RedrawChart(); });
}

void TGetDataThread::TransferMessages(const receiver::TModel& model) {
    if (model.storage == receiver::TStorage::Files) {
        transferPending = true;
        Step([this] {
            transferPending = !acquisition::CopyMessageFiles(driveRoot, options.archiveRoot, state);
        });
        // An archive left as it was needs no new tree.
        if (!transferPending) Step([this] { window.RebuildTree(); });
        return;
    }
    // The files are read and written here; the window only applies the result.
    acquisition::TModelDResult result;
    {
        TBusyScope busy(state.Busy);
        result = mirror.Transfer(driveRoot, options.archiveRoot);
    }
    Step([&] {
        acquisition::ApplyModelDResult(result, state);
        if (state.TreeRebuild != 0) {
            window.RebuildTree();
            state.TreeRebuild = 0;
        }
    });
}
