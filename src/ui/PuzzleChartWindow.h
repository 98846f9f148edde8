#pragma once

#include "reports/FlagReach.h"
#include "reports/PuzzleChart.h"

#include <QByteArray>
#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QScrollArea;
class QSvgRenderer;

namespace orv::ui {

class QtReportHost;
class ReportLauncher;
struct Platform;
struct ProgramState;

// The chart as Graphviz draws it, at a zoom factor. A click reports the id
// of the node under the mouse; the wheel asks for a zoom about the mouse.
class ChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(QWidget* parent = nullptr);

    // The SVG to show and the ids of its nodes; false when it cannot be read.
    bool setChart(const QByteArray& svg, std::vector<QString> nodeIds);
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // The size of the drawing at zoom 1.
    QSize naturalSize() const;

    // The node whose drawing holds `point` (in this widget); empty if none.
    QString nodeAt(QPointF point) const;
    // Where node `id` is drawn, in this widget; empty if there is none.
    QRectF nodeRect(const QString& id) const;
    QImage image(double scale) const;

    QSize sizeHint() const override;

  signals:
    void nodeClicked(const QString& id);
    void zoomRequested(double factor, QPointF at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QRectF documentRect(const QString& id) const; // in the SVG's own units

    QSvgRenderer* renderer_ = nullptr;
    std::vector<QString> ids_;
    double zoom_ = 1.0;
};

// The puzzle dependency chart window: the chart of the loaded project (or,
// above MaxChartNodes nodes or on request, of one flag), zoom with the wheel
// and Ctrl+plus/minus, fit to window, a click on a flag runs its flag
// tracker as the flag map does, and the chart saved as SVG or PNG.
class PuzzleChartWindow : public QDialog {
    Q_OBJECT
  public:
    PuzzleChartWindow(ProgramState& state, Platform& platform, QtReportHost& host, ReportLauncher& launcher,
                      QWidget* parent);

    // Reads the loaded project in one pass and draws its chart; false, after
    // a message, when its files could not be read.
    bool scan();
    // Draws the analysed project: the whole chart, or only flag `focus`'s
    // (1 to 255) part. The whole of a chart too large asks for a flag instead.
    void showChart(int focus);
    void setReach(FlagReach reach);

    const PuzzleChart& chart() const { return chart_; }
    const QByteArray& svg() const { return svg_; }
    ChartView& view() { return *view_; }
    QString message() const;

    // A click on node `id`: a flag's runs its tracker.
    void nodeClicked(const QString& id);
    void trackFlag(int flag);
    void zoomBy(double factor, std::optional<QPointF> at = std::nullopt);
    void fitToWindow();
    void saveSvg();
    void savePng();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Zooms so that the whole chart shows, but not beyond `largest`.
    void fitWithin(double largest);
    bool save(const QString& title, const QString& proposed, const QString& filter,
              const std::function<bool(const QString&)>& write);
    void showFlagFromBox();

    ProgramState& state_;
    Platform& platform_;
    QtReportHost& host_;
    ReportLauncher& launcher_;
    FlagReach reach_;
    PuzzleChart chart_;
    QByteArray svg_;
    QLineEdit* flagBox_ = nullptr;
    QLabel* message_ = nullptr;
    QScrollArea* area_ = nullptr;
    ChartView* view_ = nullptr;
    bool placed_ = false;
};

} // namespace orv::ui
