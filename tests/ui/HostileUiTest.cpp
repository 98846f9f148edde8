#include "UiHarness.h"

#include "audit/DiskNames.h"
#include "audit/FolderKind.h"
#include "support/HostileNames.h"
#include "ui/QtText.h"

#include <QListWidget>

// What the desktop shows of a hostile project: names from disk in a form that cannot forge lines, and a
// media folder that cannot be listed named before the report opens.

using HostileUiTest = UiTest;

TEST_F(HostileUiTest, AMediaFolderThatCannotBeListedIsNamedBeforeTheReportOpens) {
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    b.scenes[0].SceneFile[0] = "hall.bmp";
    b.writeGfxFolder = false;
    const fs::path project = b.write(dir.path());
    writeFileText(dir / "resource" / "gfx", "a file where the folder belongs");
    locate(project);
    QStringList logWhenTheReportShowed;
    const auto text = reportOf([&] { window.pickReport(0); }, [&](QWidget&) { logWhenTheReportShowed = fake.log; });
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("\nMISSING FILES FROM GFX FOLDER (1) *:\nhall.bmp\n"));
    ASSERT_FALSE(logWhenTheReportShowed.isEmpty());
    EXPECT_EQ(logWhenTheReportShowed.back(),
              "message (Exclamation) in Main: Orvanta Project Scanner | The folder " + qpath(dir / "resource" / "gfx") +
                  " could not be listed (Not a directory). The report counts it as empty: its files are not listed "
                  "as unused, and the files the project names in it are listed as missing.");
}

TEST_F(HostileUiTest, NamesFromDiskAreShownOneLineEachAndHandledUnderTheirRealNames) {
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    for (const HostileName& h : hostileNames())
        b.gfxFiles[h.name] = "x";
    locate(b.write(dir.path()));
    ASSERT_TRUE(reportOf([&] { window.pickReport(0); }));
    ui::FilesManager& manager = window.filesManager();
    manager.showLists();
    auto* list = control<QListWidget>(&manager, "List3");
    ASSERT_EQ(list->count(), static_cast<int>(state.audit.lists.UnusedGfx.size()));
    int forged = -1;
    for (int i = 0; i < list->count(); ++i) {
        const std::string& real = state.audit.lists.UnusedGfx[static_cast<std::size_t>(i)];
        EXPECT_EQ(list->item(i)->text(), ui::toQString(DisplayName(real)));
        EXPECT_FALSE(list->item(i)->text().contains('\n'));
        if (real.find("MISSING FILES") != std::string::npos)
            forged = i;
    }
    ASSERT_GE(forged, 0);
    const std::string real = state.audit.lists.UnusedGfx[static_cast<std::size_t>(forged)];
    list->item(forged)->setSelected(true);
    fake.script << "Yes";
    manager.recycleSelected(FolderKind::Gfx);
    EXPECT_EQ(fake.log.back(), "recycle: " + qpath(dir / "resource" / "gfx" / real));
}
