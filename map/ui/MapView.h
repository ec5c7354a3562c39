// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QWidget>

#include <optional>
#include <vector>

#include "map/Land.h"
#include "map/Mercator.h"
#include "warnings/Warnings.h"

// One warning as the map draws it.
struct TMapItem {
    int64_t id = 0;
    char subject = 0;
    bool inForce = true;
    QString name, station, firstLine, received;
    std::vector<warnings::TShape> shapes;
};

// The map: land and sea, a graticule, a scale bar, the warnings' shapes coloured by subject
// with a legend, the boat with its range ring and the NAVTEX stations. Wheel zooms about the
// mouse, a drag pans, a double click zooms in; a click on a shape chooses its warning.
class TMapView : public QWidget {
    Q_OBJECT

public:
    explicit TMapView(QWidget* parent = nullptr);

    void SetLand(const map::TLand* land);
    void SetItems(std::vector<TMapItem> items);
    const std::vector<TMapItem>& Items() const { return items; }
    void SetBoat(std::optional<position::TLatLon> boat, double rangeNm);
    void SetShowEnded(bool show);
    void SetSelected(int64_t id);
    int64_t Selected() const { return selected; }
    // The warning's shapes in the middle of the map, the scale kept unless they do not fit.
    void CenterOn(int64_t id);
    // Every warning in force in view (the North Sea when there is none).
    void WholeArea();

    // The view, at the widget's size (also before it is first shown).
    map::TView& View() {
        view.width = width();
        view.height = height();
        return view;
    }
    // The warning drawn under a point of the widget, or 0.
    int64_t ItemAt(QPointF point) const;

    // The whole map into a painter: the window, a picture or a page. title adds a title
    // line with the time, for what is saved and printed.
    void Render(QPainter& painter, const QSizeF& size, const QString& title = {}) const;

    static QColor SubjectColor(char subject);

signals:
    void ItemChosen(int64_t id);
    void ViewChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    bool event(QEvent*) override;

private:
    const map::TLand* land = nullptr;
    std::vector<TMapItem> items;
    std::optional<position::TLatLon> boat;
    double rangeNm = 50;
    bool showEnded = false;
    int64_t selected = 0;
    map::TView view;
    QPointF pressedAt, lastAt;
    bool dragging = false, pressed = false;
};
