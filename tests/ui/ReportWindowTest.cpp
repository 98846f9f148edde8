#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"
#include "UnrtfText.h"

#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/FilesManager.h"

#include <QFontInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;
using Answer = ui::Prompts::Answer;
using Kind = PromptRecord::Kind;

std::string fileText(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

// Runs the unused flags report (button 1) and hands its window to `act`
// before closing it with DONE.
class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override { h.locate(trackerProject(3).write(dir.path())); }

    void withReport(int button, const std::function<void(QWidget&)>& act) {
        bool shown = false;
        const ModalWatch watch = whenModalShown(QStringLiteral("Report"), [&](QWidget& report) {
            shown = true;
            act(report);
            control<QPushButton>(&report, QStringLiteral("Command3"))->click();
        });
        h.window.pickReport(button);
        ASSERT_TRUE(shown);
    }

    void click(QWidget& report, const char* name) { control<QPushButton>(&report, QLatin1String(name))->click(); }

    TempDir dir;
    TempDir out;
    DesktopHarness h;
};

TEST_F(ReportWindowTest, ShowsTheReportReadOnlyInAFixedPitchFontWithItsButtons) {
    withReport(1, [&](QWidget& report) {
        EXPECT_EQ(report.windowTitle(), QStringLiteral("Orvanta Project Report"));
        EXPECT_TRUE(report.isModal());
        auto* rlog = control<QPlainTextEdit>(&report, QStringLiteral("RLog"));
        EXPECT_TRUE(rlog->isReadOnly());
        EXPECT_TRUE(QFontInfo(rlog->font()).fixedPitch());
        EXPECT_EQ(rlog->toPlainText(), QString::fromStdString(h.state.text.str()));
        const char* names[] = {"Command4", "Command2", "Command1", "Command3"};
        const char* captions[] = {"Copy report to clipboard", "Save report", "Print Report", "DONE"};
        int lastX = -1;
        for (int i = 0; i < 4; ++i) {
            auto* button = control<QPushButton>(&report, QLatin1String(names[i]));
            EXPECT_EQ(button->text(), QLatin1String(captions[i]));
            EXPECT_GT(button->x(), lastX) << names[i];
            lastX = button->x();
        }
        auto* files = control<QPushButton>(&report, QStringLiteral("Command5"));
        EXPECT_EQ(files->text(), QStringLiteral("Missing && Unused Files Manager"));
        EXPECT_TRUE(files->isHidden());
    });
}

TEST_F(ReportWindowTest, CopyPutsThePlainTextOnTheClipboard) {
    std::string text;
    withReport(1, [&](QWidget& report) {
        text = h.state.text.str();
        click(report, "Command4");
    });
    EXPECT_EQ(h.clipboard.calls, 1);
    EXPECT_EQ(h.clipboard.text.toStdString(), text);
    EXPECT_FALSE(h.clipboard.text.contains(QLatin1Char('\r')));
}

TEST_F(ReportWindowTest, SaveWritesTheReportAsRtfThatReadsBackToTheSameText) {
    const fs::path file = out / "flags.rtf";
    std::string text;
    withReport(1, [&](QWidget& report) {
        text = h.state.text.str();
        h.prompts.files.push_back(QString::fromStdString(file.string()));
        click(report, "Command2");
    });
    const PromptRecord& dialog = h.prompts.records.back();
    EXPECT_EQ(dialog.kind, Kind::SaveFile);
    EXPECT_EQ(dialog.title, QStringLiteral("Save Orvanta Project Report"));
    EXPECT_EQ(dialog.proposedName, QStringLiteral("Unused Flags Report.rtf"));
    EXPECT_EQ(dialog.filter, QStringLiteral("RichText File (*.rtf)"));

    ASSERT_TRUE(fs::exists(file));
    const std::string saved = fileText(file);
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(saved.substr(saved.size() - 3), "}\r\n");
    const auto back = unrtfText(file);
    if (!back)
        GTEST_SKIP() << "unrtf is not available";
    EXPECT_EQ(*back, text);
}

TEST_F(ReportWindowTest, TheResourceFilesReportProposesItsName) {
    TempDir files;
    h.locate(filesProject().write(files.path()));
    withReport(0, [&](QWidget& report) {
        h.prompts.files.push_back(QString());
        click(report, "Command2");
    });
    EXPECT_EQ(h.prompts.records.back().proposedName, QStringLiteral("Resource Files Report.rtf"));
}

TEST_F(ReportWindowTest, OverwriteYesReplacesTheFile) {
    const fs::path file = out / "existing.rtf";
    writeFileText(file, "old");
    withReport(1, [&](QWidget& report) {
        h.prompts.files.push_back(QString::fromStdString(file.string()));
        h.prompts.answers.push_back(Answer::Yes);
        click(report, "Command2");
    });
    const PromptRecord& question = h.prompts.records.back();
    EXPECT_EQ(question.title, QStringLiteral("File already exists"));
    EXPECT_EQ(question.text, QStringLiteral("Overwrite the existing file?"));
    EXPECT_EQ(question.buttons, ui::Prompts::Buttons::YesNoCancel);
    EXPECT_EQ(question.icon, ui::Prompts::Icon::Exclamation);
    EXPECT_EQ(fileText(file).rfind("{\\rtf1", 0), 0u);
}

TEST_F(ReportWindowTest, OverwriteNoReopensTheDialogWithTheSameName) {
    const fs::path existing = out / "existing.rtf";
    const fs::path other = out / "other.rtf";
    writeFileText(existing, "old");
    withReport(1, [&](QWidget& report) {
        h.prompts.files = {QString::fromStdString(existing.string()), QString::fromStdString(other.string())};
        h.prompts.answers.push_back(Answer::No);
        click(report, "Command2");
    });
    std::vector<PromptRecord> dialogs;
    for (const PromptRecord& r : h.prompts.records)
        if (r.kind == Kind::SaveFile)
            dialogs.push_back(r);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].proposedName, QStringLiteral("Unused Flags Report.rtf"));
    EXPECT_EQ(fileText(existing), "old");
    EXPECT_TRUE(fs::exists(other));
}

TEST_F(ReportWindowTest, OverwriteCancelWritesNothing) {
    const fs::path file = out / "existing.rtf";
    writeFileText(file, "old");
    withReport(1, [&](QWidget& report) {
        h.prompts.files.push_back(QString::fromStdString(file.string()));
        h.prompts.answers.push_back(Answer::Cancel);
        click(report, "Command2");
    });
    EXPECT_EQ(fileText(file), "old");
    EXPECT_TRUE(h.prompts.files.empty());
}

TEST_F(ReportWindowTest, CancellingTheSaveDialogWritesNothing) {
    withReport(1, [&](QWidget& report) {
        h.prompts.files.push_back(QString());
        click(report, "Command2");
    });
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(ReportWindowTest, PrintHandsTheWholeTextToThePrinter) {
    std::string text;
    withReport(1, [&](QWidget& report) {
        text = h.state.text.str();
        click(report, "Command1");
    });
    ASSERT_EQ(h.printer.printed.size(), 1);
    EXPECT_EQ(h.printer.printed[0].toStdString(), text);
    EXPECT_EQ(h.printer.documentNames[0], QStringLiteral("Unused Flags Report"));
}

TEST_F(ReportWindowTest, DoneDiscardsTheWindowAndTheNextRunShowsOnlyItsOwnText) {
    QPointer<QWidget> first;
    withReport(1, [&](QWidget& report) { first = &report; });
    EXPECT_TRUE(first.isNull()) << "the window is gone";
    EXPECT_TRUE(h.state.text.str().empty());
    QString second;
    withReport(1, [&](QWidget& report) {
        second = control<QPlainTextEdit>(&report, QStringLiteral("RLog"))->toPlainText();
    });
    EXPECT_EQ(second.count(QStringLiteral("*** Orvanta Project Report ***")), 1);
}

TEST_F(ReportWindowTest, TheFilesManagerOpensOverTheReportAndItsExitButtonHidesIt) {
    TempDir files;
    h.locate(filesProject().write(files.path()));
    bool managerShown = false;
    withReport(0, [&](QWidget& report) {
        const ModalWatch watch = whenModalShown(QStringLiteral("FileMan"), [&](QWidget& manager) {
            managerShown = true;
            EXPECT_EQ(manager.windowTitle(), QStringLiteral("Missing & Unused Files Manager"));
            EXPECT_EQ(control<QListWidget>(&manager, QStringLiteral("List1"))->count(),
                      static_cast<int>(h.state.lists.MissingGfx.size()));
            EXPECT_EQ(control<QListWidget>(&manager, QStringLiteral("List3"))->count(),
                      static_cast<int>(h.state.lists.UnusedGfx.size()));
            control<QPushButton>(&manager, QStringLiteral("Command1"))->click();
            EXPECT_FALSE(manager.isVisible());
        });
        click(report, "Command5");
        EXPECT_TRUE(report.isVisible()) << "the report window stays open underneath";
    });
    EXPECT_TRUE(managerShown);
}

} // namespace
} // namespace orv::testing
