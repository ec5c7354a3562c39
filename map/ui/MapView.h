// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <functional>
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
    // The map as the window shows it, at the widget's size. What stays while the view
    // pans (sea, land, stations, warnings) is kept as a picture a margin wider than the
    // view, so that a pan or a repaint copies it; the selection, the boat, the labels and
    // the legend are drawn over it each time.
    void Paint(QPainter& painter) const;

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
    void hideEvent(QHideEvent*) override;

private:
    enum class TLook { Plain, Chosen, ChosenOver };
    static constexpr double BaseMargin = 128;  // logical pixels each way
    struct TBase {
        QImage image;
        QPointF origin;  // the image's top left on the world's picture, in device pixels
        double scale = 0, ratio = 0;
        uint64_t version = 0;
    };
    // Something drawn over the map far more often than it changes, kept as a picture.
    class TStamp {
    public:
        // Draws it afresh when the key changes; draw paints with the origin at area's top left.
        void Paint(QPainter& painter, const QRectF& area, std::vector<double> key,
                   const std::function<void(QPainter&)>& draw);

    private:
        QImage image;
        std::vector<double> key;
    };
    void DrawItem(QPainter& painter, const map::TView& v, size_t index, TLook look) const;
    // Sea, land, graticule, stations and every warning but one.
    void DrawBase(QPainter& painter, const map::TView& v, int64_t without) const;
    // The chosen warning, the graticule's labels, the boat, the scale bar and the legend.
    void DrawTop(QPainter& painter, const map::TView& v, TLook look) const;

    const map::TLand* land = nullptr;
    std::vector<TMapItem> items;
    std::vector<std::vector<QPolygonF>> projected;  // each item's shapes on the projection
    std::optional<position::TLatLon> boat;
    QPolygonF ring;  // the boat's range ring on the projection
    double rangeNm = 50;
    bool showEnded = false;
    int64_t selected = 0;
    map::TView view;
    QPointF pressedAt, lastAt;
    bool dragging = false, pressed = false;
    uint64_t version = 1;  // counts the changes to what the base picture shows
    mutable TBase base;
    mutable TStamp ringStamp, legendStamp;
};
