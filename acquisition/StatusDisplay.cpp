// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/StatusDisplay.h"

#include "common/Translatable.h"

#include "acquisition/StatusTexts.h"

#include <algorithm>
#include "receiver/Models.h"
#include "receiver/TZel2d.h"

namespace acquisition {

namespace {

void ShowBattery(const receiver::TModel& model, const TSystemData& data, IStatusView& view) {
    if (model.battery == receiver::TBattery::None) {
        view.SetStatusPanel(5, "");
        view.SetBatteryProgress(0);
        return;
    }
    view.SetStatusPanel(3, translatable::Tr("acquisition", CapacityCaption));
    if (const auto text = StateText(data.State())) {
        view.SetStatusPanel(5, *text);
        view.SetBatteryProgress(model.battery == receiver::TBattery::Charge
                                    ? BatteryPercent(data.Battery())
                                    : static_cast<int>(std::min<uint32_t>(data.Battery(), 100)));
    }
}

// Sea-level pressure and tendency: reduced here from the receiver's own pressure, or as the
// ZEL2D's barograph file gives them.
void ReadPressure(bool rings, TAcquisitionState& state, const StatusContext& context) {
    const TSystemData& data = state.SystemData;
    const char sep = context.decimalSeparator;
    double hPa = (data.PressureRaw() + 100000) / 100.0;
    if (!rings) {
        if (context.correction)
            hPa = context.correction(hPa, state.BaroHeight, data.TemperatureTenths() / 10.0);
        state.PressureText = PressureText(hPa, state.BaroHeight, sep);
        state.SeaLevelHpa = hPa;
        state.TendencyText.clear();
        if (state.TendencyEnabled == 1) {
            if (const auto t = ThreeHourTendency(data, state.BaroSamples)) {
                state.TendencyText = TendencyText(*t, true, sep);
                state.TendencyHpa3h = *t;
            }
        }
        return;
    }
    TZel2d reader(context.driveRoot);
    if (!reader.ReadBarograph()) return;
    state.PressureText = PressureText(hPa, reader.Altitude, sep);
    state.SeaLevelHpa = hPa;
    if (reader.Tendency() != -32768.0) {
        state.TendencyText = TendencyText(reader.Tendency(), false, sep);
        state.TendencyHpa3h = reader.Tendency();
    }
}

}  // namespace

void ShowStatus(TAcquisitionState& state, IStatusView& view, const StatusContext& context) {
    const receiver::TModel& model = receiver::ModelOf(state.ReceiverModel());
    const TSystemData& data = state.SystemData;
    const bool rings = model.storage == receiver::TStorage::Rings;

    view.SetBusyProgress(0);
    view.SetStatusPanel(0, "");
    view.SetConfigurationEnabled(!rings);
    ShowBattery(model, data, view);

    state.CurrentMessagesText = CurrentMessagesText(data);
    if (view.NavtexPageActive()) view.SetStatusPanel(2, state.CurrentMessagesText);

    state.TemperatureText = TemperatureText(data.TemperatureTenths(), context.decimalSeparator);
    state.TemperatureC = data.TemperatureTenths() / 10.0;
    state.SeaLevelHpa.reset();
    state.TendencyHpa3h.reset();
    ReadPressure(rings, state, context);

    if (model.barograph) {
        view.SetParameterLabel(state.TemperatureText + state.PressureText + state.TendencyText);
        view.SetBaroTabVisible(true);
    } else {
        view.SetParameterLabel("");
        view.SetBaroTabVisible(false);
        state.SeaLevelHpa.reset();
        state.TemperatureC.reset();
        state.TendencyHpa3h.reset();
    }
    view.SetSeriesBlue(true);
    state.FirmwareVersionText = FirmwareVersionText(data);
    state.SerialNumberText = data.SerialNumber();
}

void ShowNoReceiver(TAcquisitionState& state, IStatusView& view) {
    state.LastLoadedIndex = 65535;
    state.SeaLevelHpa.reset();
    state.TemperatureC.reset();
    state.TendencyHpa3h.reset();
    state.CurrentMessagesText.clear();
    view.SetStatusPanel(0, "");
    view.SetStatusPanel(2, "");
    view.SetStatusPanel(3, "");
    view.SetStatusPanel(5, NoReceiverText);
    view.SetBatteryProgress(0);
    view.SetBusyProgress(0);
    view.SetSeriesBlue(false);
    view.SetParameterLabel("");
    state.FirmwareVersionText = NoReceiverIdentity;
    state.SerialNumberText = NoReceiverIdentity;
}

}  // namespace acquisition
