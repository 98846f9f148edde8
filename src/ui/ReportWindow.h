#pragma once

#include <QDialog>

class QVBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orv::ui {

class FilesManager;
class ReportView;
struct Platform;
struct ProgramState;

// The report window "Report": the report text in the read-only view RLog and
// the buttons to copy, save and print it, to open the files manager and to
// close the window. One window per shown report; closing it discards it.
// Ctrl+C copies the selection (the whole report when nothing is selected),
// Ctrl+S saves, Ctrl+P prints, and Ctrl+F opens a find bar (F3 and Shift+F3
// find the next and previous match).
class ReportWindow : public QDialog {
    Q_OBJECT
  public:
    ReportWindow(ProgramState& state, Platform& platform, FilesManager& filesManager, QWidget* parent);

    // Command5 is shown only after the missing and unused files report.
    void setFilesManagerButtonVisible(bool visible);

    void copyReport();  // Command4
    void saveReport();  // Command2
    void printReport(); // Command1

    // The find bar, and a search from the selection for what it holds.
    void showFindBar();
    void findNext(bool forward);

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Writes the file after the overwrite question; false when the save
    // dialog must open again.
    bool SaveReportFile(const QString& path);
    // The bottom row of buttons, or two rows where one does not fit.
    void arrangeButtons(bool twoRows);

    ProgramState& state_;
    Platform& platform_;
    FilesManager& filesManager_;
    ReportView* rlog_ = nullptr;
    QList<QPushButton*> buttons_;
    QVBoxLayout* buttonRows_ = nullptr;
    QPushButton* filesManagerButton_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QLabel* findStatus_ = nullptr;
    bool findForward_ = true;
    bool placed_ = false;
};

} // namespace orv::ui
