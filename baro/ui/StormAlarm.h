// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>

#include <optional>

#include "acquisition/AcquisitionState.h"
#include "baro/StormWarning.h"

class QWidget;

// The storm watch: a fall of the three-hour tendency past the threshold raises one alert per
// event and asks for a mark on the curve; the alert ends when the fall eases.
class TStormAlarm : public QObject {
    Q_OBJECT

public:
    explicit TStormAlarm(QObject* parent);

    // After each status refresh.
    void StatusShown(const TAcquisitionState& state, double threshold);
    bool Active() const { return watch.Active(); }

signals:
    // Where the curve gets its mark, and the mark's label.
    void Raised(const QDateTime& when, double hPa, const QString& label);
    // The alert's words ("Avis de tempête : le baromètre est en baisse rapide …"), and its end.
    void Alert(const QString& text);
    void Eased();

private:
    baro::TStormWatch watch;
};
