// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>

#include <optional>

#include "acquisition/AcquisitionState.h"
#include "app/ui/Notice.h"
#include "baro/StormWarning.h"

class QWidget;

// The storm watch: a fall of the three-hour tendency past the threshold raises one notice
// per event that a person at the chart table cannot miss (in the tray where there is one,
// otherwise a box that does not stop the program), and asks for a mark on the curve.
class TStormAlarm : public QObject {
    Q_OBJECT

public:
    // window: the owner of the notice box and of the tray icon's picture.
    explicit TStormAlarm(QWidget* window);

    // After each status refresh.
    void StatusShown(const TAcquisitionState& state, double threshold);
    bool Active() const { return watch.Active(); }

signals:
    // Where the curve gets its mark, and the mark's label.
    void Raised(const QDateTime& when, double hPa, const QString& label);

private:
    baro::TStormWatch watch;
    TNotice* notice;
};
