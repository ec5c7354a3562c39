// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "acquisition/AcquisitionState.h"

namespace acquisition {

// The controls of the main window the status display writes.
class IStatusView {
public:
    virtual ~IStatusView() = default;
    virtual void SetStatusPanel(int index, const std::string& text) = 0;
    virtual void SetBusyProgress(int position) = 0;
    virtual void SetBatteryProgress(int percent) = 0;
    virtual void SetParameterLabel(const std::string& text) = 0;
    virtual void SetBaroTabVisible(bool visible) = 0;
    virtual void SetConfigurationEnabled(bool enabled) = 0;
    virtual void SetSeriesBlue(bool blue) = 0;  // black otherwise
    virtual bool NavtexPageActive() const = 0;
};

// Reduction of a measured pressure (hPa) to sea level with the barometer altitude and
// the temperature; supplied by the barograph module.
using AltitudeCorrection = std::function<double(double hPa, int32_t altitude, double temperature)>;

struct StatusContext {
    std::string driveRoot;  // the receiver drive's root folder
    char decimalSeparator = '.';
    AltitudeCorrection correction;  // identity when empty
};

void ShowStatus(TAcquisitionState& state, IStatusView& view, const StatusContext& context);
void ShowNoReceiver(TAcquisitionState& state, IStatusView& view);

}  // namespace acquisition
