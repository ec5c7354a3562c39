#pragma once

#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <optional>

class QRubberBand;

// A line chart over a date-time axis with a pressure scale on the right, a fixed scale on
// the left, footer lines under the plot and mouse zoom: drag right-down to zoom into a
// rectangle, drag left or up (or right-click) to undo.
class TChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList titleLines READ TitleLines WRITE SetTitleLines)
    Q_PROPERTY(QStringList footerLines READ FooterLines WRITE SetFooterLines)

public:
    explicit TChart(QWidget* parent = nullptr);

    QChart* Chart() const { return chart; }
    QChartView* View() const { return view; }
    QLineSeries* Series1() const { return series; }
    QDateTimeAxis* BottomAxis() const { return bottom; }
    QValueAxis* LeftAxis() const { return left; }
    QValueAxis* RightAxis() const { return right; }

    // x in milliseconds since 1970 (UTC), all points at once.
    void SetPoints(const QList<QPointF>& points);
    void ClearPoints();

    void SetTitleLines(const QStringList& lines);
    QStringList TitleLines() const { return titleLines; }
    void SetFooterLines(const QStringList& lines);
    QStringList FooterLines() const { return footerLines; }
    void SetFooterLine(int index, const QString& text);
    // The names Qt Designer's generated code calls.
    void setTitleLines(const QStringList& lines) { SetTitleLines(lines); }
    void setFooterLines(const QStringList& lines) { SetFooterLines(lines); }

    // The range in force before a mouse zoom comes back; UndoZoomed is raised in any case.
    void UndoZoom();
    // Zooms the bottom and right axes to a rectangle of the plot (view coordinates).
    void ZoomToRect(const QRectF& viewRect);
    bool Zoomed() const { return beforeZoom.has_value(); }

    // The whole chart with its footer, scaled into target.
    void PrintInto(QPainter& painter, const QRectF& target);
    // The chart as it is on the screen, on white.
    QImage Picture();
    bool SaveBitmap(const QString& path);

    // Sets the pressure axis with a step that suits the new range, so Qt never lays out
    // a range with the step of another one. A range that is no number, inverted or
    // absurdly large is ignored.
    void SetRightRange(double minimum, double maximum);
    // Like the axis's own setMin/setMax: the other end moves along when it would be passed.
    void SetRightMinimum(double minimum) { SetRightRange(minimum, std::max(right->max(), minimum)); }
    void SetRightMaximum(double maximum) { SetRightRange(std::min(right->min(), maximum), maximum); }
    // A mark on the curve (a storm warning's start), kept through fills.
    void AddMark(const QDateTime& when, double value);
    int MarkCount() const;

    // Axis labels with the user's decimal separator, as the status texts have it.
    void SetDecimalSeparator(char separator);
    // Axis values beyond this are no pressure of this world.
    static constexpr double AbsurdAxisValue = 1e6;

signals:
    void Zoom();
    void UndoZoomed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Settle();

    struct Ranges {
        QDateTime bottomMin, bottomMax;
        double rightMin, rightMax;
    };

    QChart* chart;
    QChartView* view;
    QLineSeries* series;
    QScatterSeries* marks;
    QDateTimeAxis* bottom;
    QValueAxis* left;
    QValueAxis* right;
    QLabel* footer;
    QStringList titleLines, footerLines;
    std::optional<Ranges> beforeZoom;
    QRubberBand* band = nullptr;
    QPoint pressedAt;
    bool dragging = false;
};
