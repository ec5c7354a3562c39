// SPDX-License-Identifier: GPL-3.0-or-later
#include "baro/ui/StormAlarm.h"

#include <QCoreApplication>

#include "baro/ui/BaroChartControl.h"
#include "common/Numbers.h"
#include "platform/Process.h"

TStormAlarm::TStormAlarm(QObject* parent) : QObject(parent) {}

void TStormAlarm::StatusShown(const TAcquisitionState& state, double threshold) {
    const baro::TStormWatch::TChange change = watch.Update(state.TendencyHpa3h, threshold);
    if (change == baro::TStormWatch::TChange::Ended) emit Eased();
    if (change != baro::TStormWatch::TChange::Raised) return;
    const char separator = platform::DecimalSeparator();
    if (state.SeaLevelHpa) {
        // On the newest point of the curve, which the chart draws at the whole minute.
        QDateTime when = ToQDateTime(state.BaroTime);
        when = when.addMSecs(-(when.time().second() * 1000 + when.time().msec()));
        const QString tendency =
            QString::fromStdString(text::FormatOneDecimal(*state.TendencyHpa3h, 1, separator));
        emit Raised(when, *state.SeaLevelHpa,
                    QCoreApplication::translate("TStormAlarm", "Avis de tempête %1 : %2 hPa en 3 h")
                        .arg(when.toString("HH:mm"), tendency));
    }
    emit Alert(QString::fromStdString(baro::StormNotice(*state.TendencyHpa3h, separator)));
}
