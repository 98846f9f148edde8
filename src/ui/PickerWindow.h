#pragma once

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;

namespace orv {
struct RunState;
}

namespace orv::ui {

// What the two pickers share: a small fixed tool window titled with the
// application title, a bold prompt on top, an input on the left and three
// buttons on the right, placed in the middle of the screen when first
// shown. Cancel (the button, Escape or the close box) asks a running report
// to stop and hides the picker. The input has the focus whenever the picker
// opens and after each report it started has closed, its text selected, so
// that what is typed replaces it.
class PickerWindow : public QDialog {
    Q_OBJECT
  public:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    PickerWindow(RunState& run, const char* name, QWidget* parent);

    // Builds the layout once the subclass has made its input and captions.
    void arrange(QWidget* input, const QString& runCaption, const QString& allCaption);
    void showEvent(QShowEvent* event) override;
    // Puts the focus back in the input, after a report.
    void focusInput();

    QLabel* prompt() const { return prompt_; }
    QPushButton* runButton() const { return runButton_; }
    QPushButton* allButton() const { return allButton_; }

    RunState& run_;

  private:
    QWidget* input_ = nullptr;
    QLabel* prompt_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* allButton_ = nullptr;
    bool placed_ = false;
};

} // namespace orv::ui
