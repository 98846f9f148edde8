#include "DesktopHarness.h"
#include "ModalWatcher.h"
#include "TestProjects.h"

#include "audit/ResourceFolders.h"
#include "support/TempDir.h"
#include "ui/FilesManager.h"
#include "ui/QtTrash.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;
using Answer = ui::Prompts::Answer;
using Kind = PromptRecord::Kind;

QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

QStringList entries(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& name : list)
        out.append(QString::fromStdString(name));
    return out;
}

// The files manager after a resource files report of filesProject(), shown
// without a modal loop so that the test can click in it.
class FilesManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        projectFile = filesProject().write(dir.path());
        h.locate(projectFile);
        const ModalWatch watch = whenModalShown(QStringLiteral("Report"), [](QWidget& report) {
            control<QPushButton>(&report, QStringLiteral("Command3"))->click();
        });
        h.window.pickReport(0);
        manager().showLists();
        manager().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager()));
    }

    ui::FilesManager& manager() { return h.window.filesManager(); }
    QListWidget* list(int n) { return control<QListWidget>(&manager(), QStringLiteral("List%1").arg(n)); }
    QLabel* preview() { return control<QLabel>(&manager(), QStringLiteral("Prev")); }
    bool previewShown() { return !preview()->pixmap().isNull(); }

    QPoint entryPoint(QListWidget* l, const QString& name) {
        const auto found = l->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.isEmpty() ? QPoint() : l->visualItemRect(found.first()).center();
    }
    void clickEntry(QListWidget* l, const QString& name) {
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, entryPoint(l, name));
    }
    void select(QListWidget* l, const QStringList& names) {
        l->clearSelection();
        for (const QString& name : names)
            l->findItems(name, Qt::MatchExactly).first()->setSelected(true);
    }

    // A right-button press on the list; returns the name of the pop-up
    // menu that showed (empty for none), after choosing its item when
    // `choose` is set.
    QString rightClick(QListWidget* l, bool choose) {
        QString shown;
        QTimer::singleShot(0, l, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = menu->objectName();
            QAction* item = menu->actions().value(0);
            EXPECT_EQ(item->text(), QStringLiteral("Send file(s) to Recycle Bin"));
            itemName = item->objectName();
            if (choose) {
                menu->setActiveAction(item);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
        });
        const QPoint at = l->count() ? l->visualItemRect(l->item(0)).center() : QPoint(5, 5);
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, at);
        QApplication::processEvents();
        return shown;
    }

    fs::path folder(FolderKind kind) { return ResourceFolder(h.state.project.Paths.ProjectFolder, kind); }

    TempDir dir;
    fs::path projectFile;
    DesktopHarness h;
    QString itemName;
};

TEST_F(FilesManagerTest, ShowsTheFourAuditListsWithTheirCaptions) {
    EXPECT_EQ(manager().windowTitle(), QStringLiteral("Missing & Unused Files Manager"));
    EXPECT_EQ(entries(list(1)), QStringList{QStringLiteral("lost.gif")});
    EXPECT_EQ(entries(list(2)), QStringList{QStringLiteral("gone.mp3")});
    EXPECT_EQ(entries(list(3)), entries(h.state.lists.UnusedGfx));
    EXPECT_EQ(entries(list(4)), entries(h.state.lists.UnusedMmedia));
    EXPECT_TRUE(entries(list(3)).contains(QStringLiteral("boat.bmp")));
    EXPECT_TRUE(entries(list(4)).contains(QStringLiteral("theme.mp3")));
    EXPECT_EQ(list(3)->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list(4)->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_NE(list(1)->selectionMode(), QAbstractItemView::ExtendedSelection);

    QStringList texts;
    for (const QLabel* label : manager().findChildren<QLabel*>())
        texts.append(label->text());
    for (const char* text :
         {"Missing Files (GFX folder)", "Missing Files (MMedia folder)", "Unused Files (GFX folder)",
          "Unused Files (MMedia folder)", "(Single-click to preview)", "(Double-click to preview)",
          "Image Preview Window", "Right-click on selected file(s) to send to Recycle Bin.",
          "The files listed to the left are not referenced in the Orvanta Project, and are wasting space. ",
          "The files listed to the left are referenced in the Orvanta Project, but could not be found in the "
          "appropriate 'Resource' folder.  These files are required in order for the game to work properly!"})
        EXPECT_TRUE(texts.contains(QLatin1String(text))) << text;
    EXPECT_EQ(control<QPushButton>(&manager(), QStringLiteral("Command1"))->text(), QStringLiteral("Exit Files Manager"));
}

TEST_F(FilesManagerTest, AClickPreviewsBmpJpegAndGifPicturesScaledToFit) {
    for (const char* name : {"boat.bmp", "cliff.jpg", "gull.gif"}) {
        clickEntry(list(3), QLatin1String(name));
        ASSERT_TRUE(previewShown()) << name;
        const QPixmap shown = preview()->pixmap();
        const QSizeF logical = shown.deviceIndependentSize();
        EXPECT_LE(logical.width(), preview()->contentsRect().width() + 0.5) << name;
        EXPECT_LE(logical.height(), preview()->contentsRect().height() + 0.5) << name;
    }
    clickEntry(list(3), QStringLiteral("boat.bmp"));
    const QSizeF boat = preview()->pixmap().deviceIndependentSize();
    EXPECT_NEAR(boat.width() / boat.height(), 640.0 / 200.0, 0.05) << "aspect kept";
    EXPECT_TRUE(h.prompts.texts(Kind::Message).empty());
}

TEST_F(FilesManagerTest, AFileThatIsNoPictureGivesTheErrorAndEmptiesThePreview) {
    clickEntry(list(3), QStringLiteral("boat.bmp"));
    ASSERT_TRUE(previewShown());
    clickEntry(list(3), QStringLiteral("notes.bmp"));
    EXPECT_FALSE(previewShown());
    const PromptRecord& message = h.prompts.records.back();
    EXPECT_EQ(message.kind, Kind::Message);
    EXPECT_EQ(message.text, QStringLiteral("Error loading image:\rError # 481 - Invalid picture"));
    EXPECT_EQ(message.icon, ui::Prompts::Icon::None);
    EXPECT_EQ(message.title, QStringLiteral("Orvanta Project Scanner"));
    EXPECT_EQ(message.window, QStringLiteral("FileMan"));

    clickEntry(list(3), QStringLiteral("map.png"));
    EXPECT_EQ(h.prompts.records.back().text, QStringLiteral("Error loading image:\rError # 481 - Invalid picture"))
        << "the picture loader reads BMP, JPEG and GIF only";

    fs::remove(folder(FolderKind::Gfx) / "cliff.jpg");
    clickEntry(list(3), QStringLiteral("cliff.jpg"));
    EXPECT_EQ(h.prompts.records.back().text, QStringLiteral("Error loading image:\rError # 53 - File not found"));
}

TEST_F(FilesManagerTest, ADoubleClickOpensAnUnusedMediaFile) {
    clickEntry(list(4), QStringLiteral("theme.mp3"));
    EXPECT_TRUE(h.opener.opened.isEmpty()) << "a single click only selects";
    QTest::mouseDClick(list(4)->viewport(), Qt::LeftButton, {}, entryPoint(list(4), QStringLiteral("theme.mp3")));
    ASSERT_EQ(h.opener.opened.size(), 1);
    EXPECT_EQ(h.opener.opened[0].toStdString(), (folder(FolderKind::Mmedia) / "theme.mp3").string());
    EXPECT_TRUE(h.prompts.texts(Kind::Message).empty());
}

TEST_F(FilesManagerTest, AFileTheDesktopCannotOpenGetsTheMessage) {
    h.opener.succeeds = false;
    clickEntry(list(4), QStringLiteral("wind.wav"));
    QTest::mouseDClick(list(4)->viewport(), Qt::LeftButton, {}, entryPoint(list(4), QStringLiteral("wind.wav")));
    ASSERT_EQ(h.opener.opened.size(), 1);
    const PromptRecord& message = h.prompts.records.back();
    EXPECT_EQ(message.text, QStringLiteral("Could not open file."));
    EXPECT_EQ(message.icon, ui::Prompts::Icon::None);
    EXPECT_EQ(message.title, QStringLiteral("Orvanta Project Scanner"));
}

TEST_F(FilesManagerTest, TheRecycleMenuNeedsASelectionInAnUnusedList) {
    list(4)->clearSelection();
    EXPECT_EQ(rightClick(list(4), false), QString());
    list(1)->setCurrentRow(0);
    list(1)->item(0)->setSelected(true);
    EXPECT_EQ(rightClick(list(1), false), QString());
    select(list(3), {QStringLiteral("gull.gif")});
    EXPECT_EQ(rightClick(list(3), false), QStringLiteral("RecycleGFX"));
    EXPECT_EQ(itemName, QStringLiteral("RecycleBinA"));
    select(list(4), {QStringLiteral("theme.mp3")});
    EXPECT_EQ(rightClick(list(4), false), QStringLiteral("RecycleMM"));
    EXPECT_EQ(itemName, QStringLiteral("RecycleBinB"));
    EXPECT_TRUE(h.trash.recycled.empty());
    EXPECT_EQ(entries(list(4)).size(), static_cast<int>(h.state.lists.UnusedMmedia.size()));
}

TEST_F(FilesManagerTest, RecyclingMovesTheSelectedFilesInListOrderAfterTheNamesLeaveTheList) {
    clickEntry(list(3), QStringLiteral("boat.bmp"));
    ASSERT_TRUE(previewShown());
    const QStringList before = entries(list(4));
    select(list(4), {QStringLiteral("wind.wav"), QStringLiteral("intro.avi"), QStringLiteral("theme.mp3")});
    h.prompts.answers = {Answer::Yes};
    QStringList shownAtFirstRequest;
    h.trash.onRecycle = [&](const fs::path&) {
        if (shownAtFirstRequest.isEmpty())
            shownAtFirstRequest = entries(list(4)) << QStringLiteral("(end)");
    };
    EXPECT_EQ(rightClick(list(4), true), QStringLiteral("RecycleMM"));

    const PromptRecord& question = h.prompts.records.back();
    EXPECT_EQ(question.title, QStringLiteral("Confirm"));
    EXPECT_EQ(question.text, QStringLiteral("Are you sure you want to send the selected file(s) to the Recycle Bin?"));
    EXPECT_EQ(question.icon, ui::Prompts::Icon::Question);
    EXPECT_EQ(question.buttons, ui::Prompts::Buttons::YesNo);

    std::vector<fs::path> expected;
    for (const QString& name : before)
        if (name == QStringLiteral("wind.wav") || name == QStringLiteral("intro.avi") ||
            name == QStringLiteral("theme.mp3"))
            expected.push_back(folder(FolderKind::Mmedia) / name.toStdString());
    EXPECT_EQ(h.trash.recycled, expected) << "one request per file, in list order";
    EXPECT_EQ(shownAtFirstRequest, QStringList{QStringLiteral("(end)")}) << "the names left the list first";
    EXPECT_TRUE(list(4)->count() == 0);
    EXPECT_TRUE(h.state.lists.UnusedMmedia.empty());
    EXPECT_TRUE(previewShown()) << "recycling media files leaves the picture preview alone";
    EXPECT_EQ(entries(list(2)), QStringList{QStringLiteral("gone.mp3")});
}

TEST_F(FilesManagerTest, RecyclingPicturesEmptiesThePreview) {
    clickEntry(list(3), QStringLiteral("boat.bmp"));
    select(list(3), {QStringLiteral("gull.gif")});
    h.prompts.answers = {Answer::Yes};
    rightClick(list(3), true);
    ASSERT_EQ(h.trash.recycled.size(), 1u);
    EXPECT_EQ(h.trash.recycled[0], folder(FolderKind::Gfx) / "gull.gif");
    EXPECT_FALSE(entries(list(3)).contains(QStringLiteral("gull.gif")));
    EXPECT_FALSE(previewShown());
}

TEST_F(FilesManagerTest, AnsweringNoChangesNothing) {
    select(list(3), {QStringLiteral("gull.gif"), QStringLiteral("boat.bmp")});
    const QStringList before = entries(list(3));
    h.prompts.answers = {Answer::No};
    rightClick(list(3), true);
    EXPECT_TRUE(h.trash.recycled.empty());
    EXPECT_EQ(entries(list(3)), before);
    EXPECT_EQ(list(3)->selectedItems().size(), 2);
}

TEST_F(FilesManagerTest, ExitHidesTheWindowAndKeepsListsAndSelection) {
    select(list(3), {QStringLiteral("gull.gif")});
    control<QPushButton>(&manager(), QStringLiteral("Command1"))->click();
    EXPECT_FALSE(manager().isVisible());
    manager().showLists();
    EXPECT_EQ(list(3)->selectedItems().size(), 1);
}

TEST_F(FilesManagerTest, TheDesktopTrashTakesTheFileIntoTheUsersTrashFolder) {
    // The Trash of a temporary home; the project lies in the same file
    // system, so the home's Trash is the one used.
    TempDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    fs::create_directories(home / "data");
    qputenv("HOME", QFile::encodeName(QString::fromStdString(home.path().string())));
    qputenv("XDG_DATA_HOME", QFile::encodeName(QString::fromStdString((home / "data").string())));
    const fs::path project = filesProject().write(home / "games" / "files");
    const fs::path file = project.parent_path() / "resource" / "mmedia" / "theme.mp3";
    ASSERT_TRUE(fs::exists(file));

    ui::QtTrash trash;
    const bool moved = trash.RecycleFile(file);
    qputenv("HOME", oldHome);
    if (oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);

    EXPECT_TRUE(moved);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(home / "data" / "Trash" / "files" / "theme.mp3"));
    EXPECT_TRUE(fs::exists(home / "data" / "Trash" / "info" / "theme.mp3.trashinfo"));
}

} // namespace
} // namespace orv::testing
