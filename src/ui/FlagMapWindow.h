#pragma once

#include "reports/FlagUsage.h"

#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace orv::ui {

class FlagMapPanel;
class QtReportHost;
class ReportLauncher;
struct Platform;
struct ProgramState;

// The fill of a class on the map: the Okabe-Ito colours, which stay apart for
// the common kinds of colour blindness; free flags stay pale.
QColor FlagClassColour(FlagClass c);
// The number on a cell of that class: black or white, whichever stands out
// more from the fill (a free flag's in grey), at least 4.5:1 either way.
QColor FlagClassTextColour(FlagClass c);
// The contrast of two colours, 1 to 21, as the accessibility guidelines
// measure it from their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);

// The 255 flags as 15 columns by 17 rows of numbered cells, coloured by
// class, a dead end marked by a black corner as well. A click (or Enter on
// the focused cell) picks a flag; the tooltip lists its tests and changes.
class FlagGrid : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Columns = 15;
    static constexpr int Rows = 17;

    explicit FlagGrid(QWidget* parent = nullptr);

    // The map shows `data` until the next call; null shows every flag free.
    void setUsage(const FlagUsageData* usage);

    QRect cellRect(int flag) const;
    int flagAt(QPoint point) const; // 0 between or outside the cells
    QColor cellColour(int flag) const;
    QColor cellTextColour(int flag) const;
    bool hasDeadEndMark(int flag) const;
    QString toolTipFor(int flag) const;
    // The cell Enter picks, marked while the grid has the focus.
    int focusedFlag() const { return focused_; }
    // Called before a flag's tooltip shows, so that its statements can be
    // worded first.
    void setBeforeTooltip(std::function<void(int)> before) { beforeTooltip_ = std::move(before); }

    // Cells shrink with the room down to the smallest that shows a number.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void flagPicked(int flag);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QSize preferredCell() const;
    QSize smallestCell() const;
    QSize cellSize() const;
    FlagClass classOf(int flag) const;

    const FlagUsageData* data_ = nullptr;
    std::function<void(int)> beforeTooltip_;
    int hovered_ = 0;
    int focused_ = 1;
};

// The flag map window: the grid, a legend with the count of each class, and
// buttons for the flag usage summary, saving the map as PNG (Ctrl+S) and
// closing. Like the flag picker it stays open underneath the reports it
// starts. Where the map does not fit the screen, it scrolls above the
// buttons.
class FlagMapWindow : public QDialog {
    Q_OBJECT
  public:
    FlagMapWindow(ProgramState& state, Platform& platform, QtReportHost& host, ReportLauncher& launcher,
                  QWidget* parent);
    ~FlagMapWindow() override;

    // Reads the loaded project in one pass and shows it; false, after a
    // message, when its files could not be read.
    bool scan();
    // Shows gathered data as it is.
    void setUsage(FlagUsageData usage);
    const FlagUsageData& usage() const { return data_; }

    // A cell's tooltip. The gathering words only the statements the report
    // lists; the rest of the flag's are read again here, once.
    QString toolTipFor(int flag);

    // What a click on a cell does: the flag picker's track button for `flag`.
    void trackFlag(int flag);
    // "Flag usage summary": report kind 6.
    void runSummary();
    // "Save as PNG...": the grid and its legend as a picture.
    void saveMap();
    // The picture saveMap writes: the grid and its legend under a line with
    // the project's name and today's date, which its text fields hold too.
    QImage mapImage();

    FlagGrid& grid() { return *grid_; }

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Writes the picture after the overwrite question; false when the save
    // dialog must open again.
    bool saveMapFile(const QString& path);
    void wordFlag(int flag);

    ProgramState& state_;
    Platform& platform_;
    QtReportHost& host_;
    ReportLauncher& launcher_;
    FlagUsageData data_;
    FlagMapPanel* map_ = nullptr;
    FlagGrid* grid_ = nullptr;
    bool placed_ = false;
};

} // namespace orv::ui
