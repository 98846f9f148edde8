#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace orv::ui {

class FilesManager;
class FlagMapWindow;
class FlagPicker;
class PuzzleChartWindow;
class QtReportHost;
class ReportLauncher;
class ScenePicker;
struct Platform;
struct ProgramState;

// The main window "Main": locating a project, the project information
// panel, the report buttons and the progress bar of every run. Closing it
// ends the program. Ctrl+O locates a project. The window opens with the
// focus on the Locate button.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow(ProgramState& state, Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The Locate button: asks for a project file, then locateFile.
    void locate();
    // Everything the Locate button does once a file is chosen: the former
    // project and its report and lists are dropped, the new one is loaded.
    void locateFile(const QString& projectFile);
    // A click on report button `index` (0 to 4).
    void pickReport(int index);
    // The "Flag map" button: reads the project's flags, then shows the map.
    void openFlagMap();
    // The "Puzzle chart" button: reads the project's flags, then shows the chart.
    void openPuzzleChart();

    QtReportHost& reportHost() { return *host_; }
    FilesManager& filesManager() { return *filesManager_; }
    // Created on first use and kept.
    FlagPicker& flagPicker();
    ScenePicker& scenePicker();
    FlagMapWindow& flagMap();
    PuzzleChartWindow& puzzleChart();

    // True while a load or a report is in progress.
    bool busy() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Brings path box, panel, buttons and title in line with the state.
    void showProjectState();
    // Loads the project whose paths are set, and sets what the main window
    // shows of it; gives the message for a project that did not load.
    std::optional<std::string> loadChosenProject();
    // Narrows and shortens what can give where the screen is small, before
    // the window is sized to it.
    void adaptToScreen();

    ProgramState& state_;
    Platform& platform_;

    QLabel* pathCaption_ = nullptr;
    QGridLayout* pathRow_ = nullptr;
    QLineEdit* pathBox_ = nullptr;
    QPushButton* locateButton_ = nullptr;
    QPlainTextEdit* projectInfo_ = nullptr;
    std::array<QPushButton*, 5> reportButtons_{};
    std::array<QLabel*, 6> explanations_{}; // the five report buttons', then the flag map's
    QProgressBar* progress_ = nullptr;
    QPushButton* flagMapButton_ = nullptr;
    QPushButton* puzzleChartButton_ = nullptr;

    std::unique_ptr<QtReportHost> host_;
    FilesManager* filesManager_ = nullptr;
    std::unique_ptr<ReportLauncher> launcher_;
    FlagPicker* flagPicker_ = nullptr;
    ScenePicker* scenePicker_ = nullptr;
    FlagMapWindow* flagMap_ = nullptr;
    PuzzleChartWindow* puzzleChart_ = nullptr;
    bool loading_ = false;
    QTimer* closeWhenIdle_ = nullptr;
    bool placed_ = false;
};

} // namespace orv::ui
