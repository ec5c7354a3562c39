// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPalette>
#include <QString>

#include <optional>
#include <string>

// Day, dusk and night colours for every window, as chart plotters have them: at dusk the
// light surfaces turn dark, at night everything is dim and red so that the screen can stay on
// without spoiling the eyes' adaptation to the dark. Colours are designed for the day and
// turned into the others by Shade; printing and saving always use the day's.
namespace palette {

enum class TMode { Day, Dusk, Night };

TMode Current();
// The mode colours are drawn in now: the day's inside a TDayScope.
TMode Effective();
// The next of day, dusk, night, and day again.
TMode Next(TMode mode);
// Sets the application's palette; the windows repaint.
void Apply(TMode mode);

// "day", "dusk", "night" as WINDOW.INI keeps them, and back.
const char* Name(TMode mode);
std::optional<TMode> FromName(const std::string& name);
// "jour", "crépuscule", "nuit".
QString Words(TMode mode);

// A colour designed for the day, in the current mode (the day's inside a TDayScope).
QColor Shade(const QColor& day);
QColor ShadeIn(TMode mode, const QColor& day);
// Every pixel of image shaded, alpha kept (the day's inside a TDayScope).
QImage Shade(const QImage& image);
// The same on an opaque (RGB32) or straight-alpha (ARGB32) image in place.
void ShadeInPlace(QImage& image);
// The whole palette of the mode.
QPalette PaletteOf(TMode mode);

// While one lives, Shade gives the day's colours: what is printed or saved.
class TDayScope {
public:
    TDayScope();
    ~TDayScope();
    TDayScope(const TDayScope&) = delete;
    TDayScope& operator=(const TDayScope&) = delete;
};

// Tells who draws its own colours that the mode changed.
class TNotifier : public QObject {
    Q_OBJECT
signals:
    void Changed();
};
TNotifier& Notifier();

}  // namespace palette
