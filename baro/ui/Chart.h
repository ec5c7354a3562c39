// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <optional>

class QPainter;
class QRubberBand;
class QFontMetricsF;

// A line chart over a date-time axis with a pressure scale on the right, a fixed scale on
// the left, title and footer lines and mouse zoom: drag right-down to zoom into a
// rectangle, drag left or up (or right-click) to undo. Drawn with QPainter alone, so the
// same drawing serves the screen, a printer page, a PDF and a bitmap.
class TChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList titleLines READ TitleLines WRITE SetTitleLines)
    Q_PROPERTY(QStringList footerLines READ FooterLines WRITE SetFooterLines)

public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // x in milliseconds since 1970 (UTC), ascending, all points at once.
    void SetPoints(const QList<QPointF>& points);
    void ClearPoints();
    const QList<QPointF>& Points() const { return points; }
    QColor SeriesColor() const { return seriesColor; }
    void SetSeriesColor(const QColor& color);

    void SetTitleLines(const QStringList& lines);
    QStringList TitleLines() const { return titleLines; }
    void SetFooterLines(const QStringList& lines);
    QStringList FooterLines() const { return footerLines; }
    void SetFooterLine(int index, const QString& text);
    // The names Qt Designer's generated code calls.
    void setTitleLines(const QStringList& lines) { SetTitleLines(lines); }
    void setFooterLines(const QStringList& lines) { SetFooterLines(lines); }

    // The bottom (time) axis. Like a date-time axis's own setMin/setMax, the other end moves
    // along when it would be passed; an invalid time is ignored.
    QDateTime BottomMinimum() const { return QDateTime::fromMSecsSinceEpoch(bottomMin); }
    QDateTime BottomMaximum() const { return QDateTime::fromMSecsSinceEpoch(bottomMax); }
    void SetBottomRange(const QDateTime& minimum, const QDateTime& maximum);
    void SetBottomMinimum(const QDateTime& minimum);
    void SetBottomMaximum(const QDateTime& maximum);
    // The labels' format (QDateTime's), the short date and time of the interface's
    // language as a rule; month and day names in the locale's language.
    void SetBottomFormat(const QString& format);
    void SetBottomLocale(const QLocale& locale);
    QString BottomFormat() const { return bottomFormat; }
    QString BottomText(const QDateTime& when) const { return bottomLocale.toString(when, bottomFormat); }

    // The pressure axis the curve follows. A range that is no number, inverted or absurdly
    // large is ignored.
    double RightMinimum() const { return rightMin; }
    double RightMaximum() const { return rightMax; }
    void SetRightRange(double minimum, double maximum);
    void SetRightMinimum(double minimum) { SetRightRange(minimum, std::max(rightMax, minimum)); }
    void SetRightMaximum(double maximum) { SetRightRange(std::min(rightMin, maximum), maximum); }
    QString RightTitle() const { return rightTitle; }
    void SetRightTitle(const QString& title);
    // The left axis keeps its fixed range; no series uses it, so it shows the right scale's
    // numbers (its own would contradict the curve).
    static constexpr double LeftMinimum = 900, LeftMaximum = 1100;

    // What the axes show at the widget's size: each tick's value (milliseconds since 1970 for
    // the bottom axis, hPa for the right one) and its label.
    struct TTick {
        double value;
        QString label;
    };
    QList<TTick> BottomTicks() const;
    QList<TTick> RightTicks() const;
    double RightStep() const;
    // The plot in widget coordinates, and a value's place in it.
    QRectF PlotArea() const;
    QPointF MapToPosition(double milliseconds, double value) const;

    // The range in force before a mouse zoom comes back; UndoZoomed is raised in any case.
    void UndoZoom();
    // Zooms the bottom and right axes to a rectangle of the plot (widget coordinates).
    void ZoomToRect(const QRectF& rect);
    bool Zoomed() const { return beforeZoom.has_value(); }

    // The whole chart with its title and footer, laid out for target: lines and text are
    // drawn at the painter's resolution, never scaled up from the screen.
    void PrintInto(QPainter& painter, const QRectF& target);
    // The chart as it is on the screen, on white.
    QImage Picture();
    bool SaveBitmap(const QString& path);

    // A mark on the curve (a storm warning's start) with its label, kept through fills.
    void AddMark(const QDateTime& when, double value, const QString& label = {});
    int MarkCount() const { return static_cast<int>(marks.size()); }
    // Where a mark's triangle is drawn, in widget coordinates; empty when out of view.
    QRectF MarkArea(int index) const;

    // Axis labels with the user's decimal separator, as the status texts have it.
    void SetDecimalSeparator(char separator) {
        decimalSeparator = separator;
        update();
    }
    // Axis values beyond this are no pressure of this world.
    static constexpr double AbsurdAxisValue = 1e6;

signals:
    void Zoom();
    void UndoZoomed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TLayout;
    struct TMark {
        qint64 when;
        double value;
        QString label;
    };
    struct TMapping;
    TLayout Layout(const QSizeF& size) const;
    QList<TTick> TimeTicks(const QStringList& formats, const QFontMetricsF& metrics, double width) const;
    TMapping Mapping(const QRectF& plot) const;
    void Draw(QPainter& painter, const QSizeF& size, double devicePixelsPerUnit) const;
    void DrawTitles(QPainter& painter, const TLayout& l, const QSizeF& size) const;
    void DrawAxes(QPainter& painter, const TLayout& l, const TMapping& map, const QSizeF& size) const;
    void DrawCurve(QPainter& painter, const QRectF& plot, const TMapping& map,
                   double devicePixelsPerUnit) const;
    void DrawMarks(QPainter& painter, const TLayout& l, const TMapping& map) const;
    QString PressureLabel(double value, double step) const;

    QList<QPointF> points;
    QColor seriesColor{0, 128, 0};
    QStringList titleLines, footerLines;
    qint64 bottomMin = 0, bottomMax = 0;
    QString bottomFormat = "dd.MM.yyyy hh:mm";
    QLocale bottomLocale = QLocale::c();
    double rightMin = 900, rightMax = 1100;
    QString rightTitle = "Luftdruck [hPa]";
    char decimalSeparator = '.';
    std::vector<TMark> marks;
    struct TRanges {
        qint64 bottomMin, bottomMax;
        double rightMin, rightMax;
    };
    std::optional<TRanges> beforeZoom;
    QRubberBand* band = nullptr;
    QPoint pressedAt;
    bool dragging = false;
};
