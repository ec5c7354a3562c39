// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Palette.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace palette {
namespace {

TMode current = TMode::Day;
int dayScopes = 0;

// One pixel in the mode, integers only: whole pictures are shaded at every paint.
QRgb ShadePixel(TMode mode, QRgb day) {
    const int r = qRed(day), g = qGreen(day), b = qBlue(day);
    if (mode == TMode::Night) {
        // Light turns dark and dark light, all of it a dim red: nothing is brighter than
        // two thirds of the screen's red.
        const int lightness = (77 * r + 150 * g + 29 * b) >> 8;
        const int level = 15 + (255 - lightness) * 153 / 255;
        return qRgba(level, level * 12 / 100, level * 6 / 100, qAlpha(day));
    }
    // Dusk: the lightness turned over with the hue kept, then darker and quieter.
    const int turn = 255 - std::max({r, g, b}) - std::min({r, g, b});
    const auto c = [turn](int v) { return 26 + (v + turn) * 184 / 255; };
    return qRgba(c(r), c(g), c(b), qAlpha(day));
}

}  // namespace

TMode Current() {
    return current;
}

TMode Effective() {
    return dayScopes > 0 ? TMode::Day : current;
}

TMode Next(TMode mode) {
    return mode == TMode::Day ? TMode::Dusk : mode == TMode::Dusk ? TMode::Night : TMode::Day;
}

const char* Name(TMode mode) {
    return mode == TMode::Day ? "day" : mode == TMode::Dusk ? "dusk" : "night";
}

std::optional<TMode> FromName(const std::string& name) {
    for (const TMode mode : {TMode::Day, TMode::Dusk, TMode::Night})
        if (name == Name(mode)) return mode;
    return std::nullopt;
}

QString Words(TMode mode) {
    return mode == TMode::Day    ? QCoreApplication::translate("palette", "jour")
           : mode == TMode::Dusk ? QCoreApplication::translate("palette", "crépuscule")
                                 : QCoreApplication::translate("palette", "nuit");
}

QColor ShadeIn(TMode mode, const QColor& day) {
    if (mode == TMode::Day || !day.isValid()) return day;
    return QColor::fromRgba(ShadePixel(mode, day.rgba()));
}

QColor Shade(const QColor& day) {
    return dayScopes > 0 ? day : ShadeIn(current, day);
}

QImage Shade(const QImage& image) {
    if (dayScopes > 0 || current == TMode::Day) return image;
    QImage out =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    ShadeInPlace(out);
    return out;
}

void ShadeInPlace(QImage& image) {
    if (dayScopes > 0 || current == TMode::Day) return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = ShadePixel(current, line[x]);
    }
}

QPalette PaletteOf(TMode mode) {
    if (mode == TMode::Day) return QApplication::style()->standardPalette();
    const auto c = [mode](int r, int g, int b) { return ShadeIn(mode, QColor(r, g, b)); };
    QPalette p;
    p.setColor(QPalette::Window, c(239, 239, 239));
    p.setColor(QPalette::WindowText, c(0, 0, 0));
    p.setColor(QPalette::Base, c(255, 255, 255));
    p.setColor(QPalette::AlternateBase, c(245, 245, 245));
    p.setColor(QPalette::ToolTipBase, c(255, 255, 220));
    p.setColor(QPalette::ToolTipText, c(0, 0, 0));
    p.setColor(QPalette::PlaceholderText, c(128, 128, 128));
    p.setColor(QPalette::Text, c(0, 0, 0));
    p.setColor(QPalette::Button, c(239, 239, 239));
    p.setColor(QPalette::ButtonText, c(0, 0, 0));
    p.setColor(QPalette::BrightText, c(0, 0, 0));
    p.setColor(QPalette::Light, c(255, 255, 255));
    p.setColor(QPalette::Midlight, c(227, 227, 227));
    p.setColor(QPalette::Mid, c(160, 160, 160));
    p.setColor(QPalette::Dark, c(160, 160, 160));
    p.setColor(QPalette::Shadow, c(105, 105, 105));
    p.setColor(QPalette::Highlight, c(48, 140, 198));
    p.setColor(QPalette::HighlightedText, c(255, 255, 255));
    p.setColor(QPalette::Link, c(0, 0, 255));
    p.setColor(QPalette::LinkVisited, c(255, 0, 255));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, c(160, 160, 160));
    return p;
}

void Apply(TMode mode) {
    current = mode;
    QApplication::setPalette(PaletteOf(mode));
    emit Notifier().Changed();
    for (QWidget* widget : QApplication::allWidgets()) {
        // A style sheet keeps the palette it was polished with: set anew, it takes this one.
        if (!widget->styleSheet().isEmpty()) widget->setStyleSheet(widget->styleSheet());
        widget->update();
    }
}

TDayScope::TDayScope() {
    ++dayScopes;
}

TDayScope::~TDayScope() {
    --dayScopes;
}

TNotifier& Notifier() {
    static TNotifier notifier;
    return notifier;
}

}  // namespace palette
