#include "ui/PickerWindow.h"

#include "data/ProgramInfo.h"
#include "reports/RunState.h"
#include "ui/CentreOnScreen.h"
#include "ui/QtText.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace orv::ui {

namespace {

int buttonPadding(const QWidget& button) {
    return button.fontMetrics().averageCharWidth() * 3;
}

} // namespace

PickerWindow::PickerWindow(RunState& run, const char* name, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint), run_(run) {
    setObjectName(QLatin1String(name));
    setWindowTitle(toQString(ApplicationTitle));
    setModal(true);
    prompt_ = new QLabel(this);
    prompt_->setObjectName(QStringLiteral("Label3"));
    QFont bold = prompt_->font();
    bold.setBold(true);
    prompt_->setFont(bold);
}

void PickerWindow::arrange(QWidget* input, const QString& runCaption, const QString& allCaption) {
    input_ = input;
    runButton_ = new QPushButton(runCaption, this);
    runButton_->setObjectName(QStringLiteral("Command1"));
    allButton_ = new QPushButton(allCaption, this);
    allButton_->setObjectName(QStringLiteral("Command3"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    // Enter in the input runs the report, as the run button stands beside
    // it; Enter on a focused button presses that button. Both are taken
    // here: a default button, which Enter would otherwise need, looks the
    // same as a focused one, and would hide where the focus is.
    input->installEventFilter(this);
    for (QPushButton* button : {runButton_, allButton_, cancel}) {
        button->setAutoDefault(false);
        button->installEventFilter(this);
    }
    // One width for the column, with room around the longest caption.
    int width = 0;
    for (QPushButton* button : {runButton_, allButton_, cancel})
        width = qMax(width, button->sizeHint().width());
    width += buttonPadding(*runButton_);
    for (QPushButton* button : {runButton_, allButton_, cancel})
        button->setMinimumWidth(width);

    auto* layout = new QGridLayout(this);
    layout->addWidget(prompt_, 0, 0, 1, 2);
    layout->addWidget(input, 1, 0);
    layout->addWidget(runButton_, 1, 1);
    layout->addWidget(allButton_, 2, 1);
    layout->addWidget(cancel, 3, 1);
    layout->setColumnStretch(0, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cancel, &QPushButton::clicked, this, &PickerWindow::reject);
}

bool PickerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = watched == input_ ? runButton_ : qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PickerWindow::reject() {
    run_.CancelRequested = true;
    run_.ReportRunning = false;
    QDialog::reject();
}

void PickerWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        centreOnScreen(*this);
    }
    QDialog::showEvent(event);
    focusInput();
}

void PickerWindow::focusInput() {
    if (!isVisible())
        return;
    // Back from a report window, which the window system may not hand the
    // activation back from.
    if (!isActiveWindow())
        activateWindow();
    input_->setFocus(Qt::OtherFocusReason);
    if (auto* text = qobject_cast<QLineEdit*>(input_))
        text->selectAll();
}

} // namespace orv::ui
