#include "UiHarness.h"

#include "ui/ReportLauncher.h"

// Every window the program can open fits the screen it opens on, at whatever
// scale and screen the test runs on (CTest runs these at 1, 1.5 and 2 on a
// 1280 x 800 screen, and at 1 on 1024 x 600): it lies wholly inside the
// available area, whatever does not fit scrolls, every button can be reached,
// and every control that takes the focus shows it. The windows are found by
// pressing every button of every window, from the main window on, so that a
// window added later is checked too; message boxes and file dialogs are the
// real ones.

namespace {

QList<QAbstractButton*> buttonsOf(QWidget& window) {
    QList<QAbstractButton*> own;
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        if (b->window() == &window && b->isVisibleTo(&window) && b->isEnabled()) own << b;
    return own;
}

bool standardDialog(QWidget& w) { return qobject_cast<QMessageBox*>(&w) || qobject_cast<QFileDialog*>(&w); }

// A window and the buttons it offers: a window shown with other buttons (the
// report window after the files report) is walked again.
QString kindOf(QWidget& window) {
    QStringList names{window.objectName()};
    for (QAbstractButton* b : buttonsOf(window)) names << b->objectName() + "=" + b->text();
    return names.join(' ');
}

class WindowWalk {
public:
    explicit WindowWalk(std::function<void(QWidget&)> check) : check_(std::move(check)) {}
    QStringList reached;

    void visit(QWidget& window) {
        check_(window);
        if (!reached.contains(window.objectName())) reached << window.objectName();
        const QString kind = kindOf(window);
        auto* dialog = qobject_cast<QDialog*>(&window);
        open_ << &window;
        // A press may close the window (Cancel, DONE) before the others were
        // pressed; the window that opened it opens it again for the rest.
        while (!standardDialog(window) && !done_.contains(kind) && window.isVisible()) {
            const QList<QAbstractButton*> buttons = buttonsOf(window);
            qsizetype& next = next_[kind];
            if (next >= buttons.size()) break;
            QAbstractButton* button = buttons[next++];
            for (int again = 0; again < 10 && window.isVisible(); ++again) {
                QString opened;
                bool standard = false;
                const Watch watch = onNewModal(open_, [&](QWidget& child) {
                    opened = kindOf(child);
                    standard = standardDialog(child);
                    visit(child);
                });
                button->click();
                if (opened.isEmpty() || standard || done_.contains(opened)) break;
            }
        }
        if (next_[kind] >= buttonsOf(window).size()) done_ << kind;
        open_.removeAll(&window);
        if (dialog && window.isVisible()) dialog->reject();
    }

private:
    std::function<void(QWidget&)> check_;
    std::map<QString, qsizetype> next_;
    QSet<QString> done_;
    QList<QWidget*> open_;
};

// The widgets Tab stops at in `window`, in order.
QList<QWidget*> tabStops(QWidget& window) {
    QList<QWidget*> stops;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain())
        if (w->window() == &window && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window) && w->isEnabled())
            stops << w;
    return stops;
}

void expectFits(QWidget& window) {
    const std::string name = window.objectName().toStdString();
    QApplication::processEvents();
    const QRect area = window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.frameGeometry()))
        << name << ": " << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " at "
        << window.frameGeometry().x() << "," << window.frameGeometry().y() << " on " << area.width() << "x"
        << area.height();
    if (auto* scroller = window.findChild<QScrollArea*>("WindowContents", Qt::FindDirectChildrenOnly)) {
        const QSize inside = scroller->widget()->size();
        const QSize shown = scroller->viewport()->size();
        EXPECT_TRUE(inside.width() <= shown.width() || scroller->horizontalScrollBar()->isVisible()) << name;
        EXPECT_TRUE(inside.height() <= shown.height() || scroller->verticalScrollBar()->isVisible()) << name;
    }
    // Every button can be brought into view and pressed.
    for (QAbstractButton* button : buttonsOf(window)) {
        for (QWidget* up = button->parentWidget(); up && up != &window; up = up->parentWidget())
            if (auto* scroller = qobject_cast<QScrollArea*>(up)) scroller->ensureWidgetVisible(button);
        EXPECT_EQ(button->visibleRegion().boundingRect(), button->rect())
            << name << ": " << button->objectName().toStdString() << " cannot be reached";
    }
    EXPECT_FALSE(window.minimumSize().width() > area.width() || window.minimumSize().height() > area.height()) << name;
}

// Each Tab stop shows the focus when Tab brings it there: it looks different
// with the focus than without.
void expectFocusShows(QWidget& window) {
    if (standardDialog(window)) return;
    QWidget* before = window.focusWidget();
    const QList<QWidget*> stops = tabStops(window);
    for (qsizetype i = 0; stops.size() > 1 && i < stops.size(); ++i) {
        QWidget* previous = stops[(i + stops.size() - 1) % stops.size()];
        QWidget* stop = stops[i];
        previous->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        const QImage without = stop->grab().toImage();
        QTest::keyClick(previous, Qt::Key_Tab);
        QApplication::processEvents();
        const std::string name = window.objectName().toStdString() + ": " + stop->metaObject()->className() + " " +
                                 stop->objectName().toStdString();
        ASSERT_TRUE(stop->hasFocus()) << name << " is not the next Tab stop";
        EXPECT_TRUE(stop->grab().toImage() != without) << name << " shows no focus";
    }
    if (before) before->setFocus(Qt::OtherFocusReason);
}

} // namespace

using ScreenFit = RealPromptsTest;

TEST_F(ScreenFit, EveryWindowLiesOnTheScreenScrollsWhatItCannotShowAndShowsFocus) {
    WindowWalk walk([](QWidget& w) {
        expectFits(w);
        expectFocusShows(w);
    });
    walk.visit(window);
    for (const char* name : {"Main", "CommonDialog1", "FlagToTrack", "SceneTrack", "MessageBox", "Report", "FileMan",
                             "FlagMap", "PuzzleChart"})
        EXPECT_TRUE(walk.reached.contains(name)) << name << " reached by the walk";
    EXPECT_FALSE(state.run.ReportRunning);

    // At 100% on a laptop's screen the main window shows all of itself.
    auto* scroller = window.findChild<QScrollArea*>("WindowContents");
    ASSERT_TRUE(scroller);
    if (window.screen()->availableGeometry().width() >= 1280 && window.devicePixelRatio() == 1) {
        EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible() || scroller->verticalScrollBar()->isVisible());
    }
}

// The longest messages, and a path with no blank to break it at: the box
// wraps them within the screen. Titles show whole: the box is as wide as the
// title in a window manager's bold, larger title font beside its icon and
// buttons.
TEST_F(ScreenFit, MessageBoxesWrapLongTextsWithinTheScreenAndLeaveRoomForTheirWholeTitle) {
    const QString longPath = "/home/author/" + QString("Games/").repeated(40) + "resource/gfx";
    const QString scanner = "Orvanta Project Scanner";
    using enum ui::Prompts::Icon;
    const auto unlistable = [](const std::string& folder, const char* reason) {
        return QString::fromStdString(ui::UnlistableFolderMessage({FailureKind::FolderUnlistable, folder, reason}));
    };
    const std::tuple<QString, QString, ui::Prompts::Icon> messages[] = {
        {scanner, unlistable(longPath.toStdString(), "Permission denied"), Exclamation},
        {scanner, "The file could not be sent to the Trash:\r" + longPath + "/harbour.bmp\r\rPermission denied",
         Exclamation},
        {scanner, unlistable("/p/resource/gfx", "Not a directory").repeated(3), Exclamation},
        {scanner, "Could not open file.", None},
        {"File already exists", "Could not open file.", None},
    };
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    const QFontMetrics metrics(titleFont);
    for (const auto& [title, text, icon] : messages) {
        int width = 0;
        const Watch watch = onModal("MessageBox", [&](QWidget& box) {
            expectFits(box);
            width = box.width();
            static_cast<QDialog&>(box).reject();
        });
        prompts.showMessage(&window, title, text, icon);
        EXPECT_GE(width, metrics.horizontalAdvance(title) + 4 * metrics.height()) << title.toStdString();
    }
}
