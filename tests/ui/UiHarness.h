#pragma once

// The one fixture of the desktop tests: the windows as main() builds them with
// every prompt and service faked, test projects, and helpers for modal windows.

#include "audit/Recycling.h"
#include "cli/Cli.h"
#include "data/ProgramInfo.h"
#include "writers/ReportRtf.h"
#include "reports/TextConventions.h"
#include "support/FileBytes.h"
#include "support/Paths.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"
#include "ui/FilesManager.h"
#include "ui/FlagPicker.h"
#include "ui/MainWindow.h"
#include "ui/Platform.h"
#include "ui/PrintReportText.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtPlatform.h"
#include "ui/QtPrompts.h"
#include "ui/QtReportHost.h"
#include "ui/ReportView.h"
#include "ui/ScenePicker.h"

#include <QPrinter>
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <span>
#include <sstream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using namespace orv;
using namespace orv::testing;
namespace fs = std::filesystem;

inline QString qpath(const fs::path& p) { return QFile::decodeName(p.c_str()); }
inline QString latin(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
inline std::string fileText(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

// Prompts are answered from `script`, in the order asked: a question takes
// "Yes", "No" or "Cancel", a file dialog a file name (empty: cancelled); a
// prompt beyond the script fails the test. Every prompt and service request
// is logged; `onRecycle`, when set, does the moving to the Trash.
struct Fakes : ui::Prompts, ui::Clipboard, ui::FileOpener, ui::ReportPrinter, Trash {
    QStringList script, log;
    QString projectFolder; // where the file dialogs would start
    bool openSucceeds = true;
    std::function<bool(const fs::path&)> onRecycle;

    void showMessage(QWidget* w, const QString& title, const QString& text, Icon icon) override {
        add(w, "message (" + name(icon) + ")", title + " | " + text);
    }
    Answer ask(QWidget* w, const QString& title, const QString& text, Buttons buttons, Icon icon) override {
        const bool cancel = buttons == Buttons::YesNoCancel;
        add(w, "question (" + name(icon) + (cancel ? ", YesNoCancel)" : ", YesNo)"), title + " | " + text);
        const QString answer = next(cancel ? "Cancel" : "No");
        return answer == "Yes" ? Answer::Yes : answer == "No" ? Answer::No : Answer::Cancel;
    }
    std::optional<QString> chooseOpenFile(QWidget* w, const QString& title, const QString& filter) override {
        return add(w, "open dialog", title + " | " + filter), file();
    }
    std::optional<QString> chooseSaveFile(QWidget* w, const QString& title, const QString& proposed,
                                          const QString& filter) override {
        return add(w, "save dialog", title + " | " + proposed + " | " + filter), file();
    }
    void setProjectFolder(const QString& folder) override { projectFolder = folder; }
    void setText(const QString& text) override { log << "clipboard: " + text; }
    bool OpenWithShell(const QString& file) override { return log << "shell open: " + file, openSucceeds; }
    void PrintReport(QWidget*, const QString& name, const QString& text) override {
        log << "print " + name + ": " + text;
    }
    bool RecycleFile(const fs::path& f) override { return log << "recycle: " + qpath(f), !onRecycle || onRecycle(f); }

private:
    static QString name(Icon icon) { return QStringList{"None", "Question", "Exclamation", "Critical"}[int(icon)]; }
    void add(QWidget* w, const QString& kind, const QString& what) {
        log << kind + " in " + (w ? w->window()->objectName() : "-") + ": " + what;
    }
    QString next(const QString& otherwise) {
        EXPECT_FALSE(script.isEmpty()) << "unforeseen prompt: " << log.back().toStdString();
        return script.isEmpty() ? otherwise : script.takeFirst();
    }
    std::optional<QString> file() {
        const QString name = next("");
        return name.isEmpty() ? std::nullopt : std::optional(name);
    }
};

// The windows as main() builds them, every service faked; the prompts faked
// too, or with `Real` the real message boxes and file dialogs.
template <bool Real> class WindowTest : public ::testing::Test {
protected:
    // Events are processed at every yield of a run, so that an action posted
    // from the event loop is taken at the next unit of work.
    WindowTest() { window.reportHost().setYieldInterval(0); }
    // The Locate button, the file dialog answering `projectFile`.
    void locate(const fs::path& projectFile) {
        fake.script << qpath(projectFile);
        window.locate();
    }
    [[nodiscard]] bool showWindow() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    TempDir dir;
    Fakes fake;
    ui::QtPrompts prompts;
    ui::ProgramState state;
    ui::Platform platform{Real ? static_cast<ui::Prompts&>(prompts) : fake, fake, fake, fake, fake};
    ui::MainWindow window{state, platform};
};
using UiTest = WindowTest<false>;

// The control of `window` with that objectName, not a child window's.
template <class T = QPushButton> T* control(QWidget* window, const QString& name) {
    for (QWidget* child : window->findChildren<QWidget*>(name))
        if (child->window() == window && child != window) return qobject_cast<T*>(child);
    ADD_FAILURE() << "no control " << name.toStdString() << " in " << window->objectName().toStdString();
    return nullptr;
}

// Runs `act` from the event loop once the modal window `name` is active (a
// modal exec() blocks the test until then); after 20 s without it the test
// fails and every modal window closes. Watching ends with the returned object.
using Watch = std::shared_ptr<QTimer>;
[[nodiscard]] inline Watch onModal(const QString& name, std::function<void(QWidget&)> act) {
    auto* timer = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal && modal->objectName() == name && modal->isVisible();
        if (!shown && clock.elapsed() < 20000) return;
        const auto run = act; // the timer, and `act` with it, may go while it runs
        timer->stop();
        timer->deleteLater();
        if (shown) return run(*modal);
        ADD_FAILURE() << "the modal window " << name.toStdString() << " never showed";
        while (QWidget* open = QApplication::activeModalWidget()) open->hide();
    });
    timer->start(2);
    return Watch(timer, [t = QPointer<QTimer>(timer)](QTimer*) {
        if (t) t->stop(), t->deleteLater();
    });
}

// Runs `act` on the first modal window other than those in `open` that shows
// while the returned object lives.
[[nodiscard]] inline Watch onNewModal(const QList<QWidget*>& open, std::function<void(QWidget&)> act) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || open.contains(modal)) return;
        timer->stop();
        act(*modal);
    });
    timer->start(2);
    return Watch(timer, [t = QPointer<QTimer>(timer)](QTimer*) {
        if (t) t->stop(), t->deleteLater();
    });
}

// True once `window` is the active window, which its keys need.
inline bool activated(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }, 2000);
}

// Runs `start`; a report window that shows is handed to `act`, then closed
// with DONE. Returns the report's text, or nothing when no report showed.
inline std::optional<QString> reportOf(const std::function<void()>& start,
                                       const std::function<void(QWidget&)>& act = {}) {
    std::optional<QString> text;
    const Watch watch = onModal("Report", [&](QWidget& report) {
        text = control<ui::ReportView>(&report, "RLog")->toPlainText();
        if (act) act(report);
        control(&report, "Command3")->click();
    });
    start();
    return text;
}

// Runs `open`; the modal window `name` it opens is handed to `act`, then
// closed with its button `close` if still up.
inline void withModal(const QString& name, const QString& close, const std::function<void()>& open,
                      const std::function<void(QWidget&)>& act) {
    const Watch watch = onModal(name, [&](QWidget& modal) {
        act(modal);
        if (modal.isVisible()) control(&modal, close)->click();
    });
    open();
}

// `sceneCount` scenes, each setting a flag on load; each data file gets a record.
inline ProjectBuilder trackerProject(int sceneCount, const std::string& name = "Harbour Test") {
    ProjectBuilder b;
    b.lock = 321;
    b.settings.ProjectName = name;
    for (int s = 1; s <= sceneCount; ++s) {
        SceneRecord& scene = b.scenes.emplace_back(makeScene("Scene " + std::to_string(s)));
        scene.OnLoadFlagEnabled = scene.OnLoadValue = 1;
        scene.OnLoadFlag = static_cast<Integer>(s % 255 + 1);
        scene.Slots[0].ObjectType = 0;
    }
    b.cueCards.resize(1);
    b.items.resize(2);
    b.locations.resize(1);
    return b;
}

inline std::string picture(const char* format, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 140));
    QBuffer buffer;
    image.save(&buffer, format);
    return buffer.data().toStdString();
}

// A missing and some unused files in each media folder: BMP, JPEG and GIF
// pictures, a PNG, and a text file named like a picture.
inline ProjectBuilder filesProject() {
    ProjectBuilder b = trackerProject(2, "Files Test");
    b.scenes[0].SceneFile = {"harbour.bmp", "lost.gif"};
    b.scenes[1].SceneFile = {"bell.wav", "gone.mp3"};
    const char gif[] = "GIF89a\1\0\1\0\x80\0\0\xFF\0\0\0\0\0,\0\0\0\0\1\0\1\0\0\2\2D\1\0;"; // Qt writes none
    b.gfxFiles = {{"harbour.bmp", picture("BMP", 64, 48)},  {"boat.bmp", picture("BMP", 640, 200)},
                  {"cliff.jpg", picture("JPEG", 120, 160)}, {"gull.gif", std::string(gif, sizeof gif - 1)},
                  {"map.png", picture("PNG", 40, 40)},      {"notes.bmp", "these are notes, not a picture"}};
    b.mmediaFiles = {{"bell.wav", "RIFF"}, {"theme.mp3", "ID3"}, {"wind.wav", "RIFF"}, {"intro.avi", "RIFF"}};
    return b;
}

// The real prompts, and the files project of filesProject() loaded.
class RealPromptsTest : public WindowTest<true> {
protected:
    void SetUp() override {
        ASSERT_TRUE(showWindow());
        window.locateFile(qpath(filesProject().write(dir.path())));
    }
};

// The standard output of a text tool, or nothing when it is absent or fails.
inline std::optional<QString> toolText(const QString& program, const QStringList& args) {
    QProcess tool;
    tool.start(QStandardPaths::findExecutable(program), args);
    const bool ran = tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && !tool.exitCode();
    return ran ? std::optional(QString::fromUtf8(tool.readAllStandardOutput())) : std::nullopt;
}

// What `unrtf --text` reads from an RTF file: what follows its banner (which
// ends with a line of dashes), without the line feed after the last paragraph.
inline std::optional<std::string> unrtfText(const fs::path& rtfFile) {
    const QString out = toolText("unrtf", {"--text", qpath(rtfFile)}).value_or("");
    const qsizetype body = out.indexOf("-----------------\n");
    return body < 0 || !out.endsWith('\n') ? std::nullopt : std::optional(out.mid(body + 18).chopped(1).toStdString());
}

// Where the pictures and the PDF for a look by eye go: the build folder, or
// ORVANTA_UI_RENDER_DIR when set (as the high-DPI run does).
inline QString renderFile(const QString& name) {
    const QByteArray chosen = qgetenv("ORVANTA_UI_RENDER_DIR");
    const QDir folder(chosen.isEmpty() ? QString(ORVANTA_UI_RENDER_DIR) : QString::fromLocal8Bit(chosen));
    folder.mkpath(".");
    return folder.filePath(name);
}
