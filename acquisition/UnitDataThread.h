// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "acquisition/AcquisitionState.h"
#include "acquisition/BaroTransfer.h"
#include "acquisition/ModelDMirror.h"
#include "acquisition/StatusDisplay.h"
#include "platform/Thread.h"
#include "receiver/Models.h"

// What the acquisition cycle asks of the main window, always on the window's thread.
class IAcquisitionWindow : public acquisition::IStatusView, public acquisition::IBaroTransferView {
public:
    virtual void RebuildTree() = 0;
    virtual void RedrawChart() = 0;  // the chart fill with WriteIndex and ValidCount
    virtual void SetPagesEnabled(bool enabled) = 0;
    // A full refresh has shown the status with its tendency (the boat's network, the storm
    // warning).
    virtual void RefreshShown() {}
};

// Polls the receiver once a second and has the window show what it finds.
class TGetDataThread : public platform::TThread {
public:
    struct Options {
        std::string archiveRoot;
        char decimalSeparator = '.';
        acquisition::AltitudeCorrection correction;
        std::function<void(int milliseconds)> sleep;  // default: a real, interruptible sleep
        std::function<double()> now;                  // default: the local date-time
    };

    // Created suspended; does the creation-time detection and firmware read.
    TGetDataThread(TAcquisitionState& state, IAcquisitionWindow& window, Options options);

    // The next cycle becomes a full refresh.
    void ForceRefresh() { state.CycleCounter = 59; }
    // One polling cycle without the sleep (Execute repeats it).
    void RunCycle();
    const std::string& DriveRoot() const { return driveRoot; }
    // Synchronised steps that failed; the cycle goes on with the next one.
    int FailedSteps() const { return failedSteps; }

protected:
    void Execute() override;

private:
    void Step(const std::function<void()>& step);
    void ReadModelDStatus();
    // The status, and for a barograph model the pressure samples, each shown as it is read.
    void ReadStatusAndBarograph(const receiver::TModel& model);
    void TransferMessages(const receiver::TModel& model);
    void ShowStatus();
    void Pause(int milliseconds);

    TAcquisitionState& state;
    IAcquisitionWindow& window;
    Options options;
    std::string driveRoot;
    int failedSteps = 0;
    bool transferPending = false;       // the last message copy did not complete: try again
    acquisition::TModelDMirror mirror;  // the ZEL2D's rings as last written to the archive
};
