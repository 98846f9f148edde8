#pragma once

#include <QDialog>

class QPushButton;

namespace orv::ui {

class FilesManager;
class ReportView;
struct Platform;
struct ProgramState;

// The report window "Report": the report text in the read-only view RLog and
// the buttons to copy, save and print it, to open the files manager and to
// close the window. One window per shown report; closing it discards it.
class ReportWindow : public QDialog {
    Q_OBJECT
  public:
    ReportWindow(ProgramState& state, Platform& platform, FilesManager& filesManager, QWidget* parent);

    // Command5 is shown only after the missing and unused files report.
    void setFilesManagerButtonVisible(bool visible);

    void copyReport();  // Command4
    void saveReport();  // Command2
    void printReport(); // Command1

  private:
    // Writes the file after the overwrite question; false when the save
    // dialog must open again.
    bool SaveReportFile(const QString& path);

    ProgramState& state_;
    Platform& platform_;
    FilesManager& filesManager_;
    ReportView* rlog_ = nullptr;
    QPushButton* filesManagerButton_ = nullptr;
};

} // namespace orv::ui
