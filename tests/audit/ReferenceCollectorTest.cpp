#include "audit/ReferenceCollector.h"

#include "audit/AuditLists.h"
#include "audit/BuiltInImageNames.h"
#include "audit/FolderIndex.h"
#include "audit/ResourceFolders.h"
#include "data/DataFiles.h"
#include "data/LoadProject.h"
#include "data/ProjectState.h"

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::ProjectBuilder;
using testing::TempDir;
using testing::writeFileText;
using Names = std::vector<std::string>;

class CountingLoop : public EventLoop {
public:
    void yield() override { ++yields; }
    int yields = 0;
};

// A project folder holding only the two media folders with the given files.
struct MediaFolders {
    TempDir dir;
    MediaFolders(const Names& gfx, const Names& mmedia) {
        fs::create_directories(dir / "resource" / "gfx");
        fs::create_directories(dir / "resource" / "mmedia");
        for (const auto& name : gfx)
            writeFileText(dir / "resource" / "gfx" / name, "x");
        for (const auto& name : mmedia)
            writeFileText(dir / "resource" / "mmedia" / name, "x");
    }
};

TEST(ReferenceKind, LastThreeCharactersInLowerCaseDecide) {
    EXPECT_EQ(ReferenceKind("Title.MP3"), FolderKind::Mmedia);
    EXPECT_EQ(ReferenceKind("door.Wav"), FolderKind::Mmedia);
    EXPECT_EQ(ReferenceKind("theme.MID"), FolderKind::Mmedia);
    EXPECT_EQ(ReferenceKind("intro.avi"), FolderKind::Mmedia);
    EXPECT_EQ(ReferenceKind(".mid"), FolderKind::Mmedia);
    EXPECT_EQ(ReferenceKind("a.b_wav"), FolderKind::Mmedia) << "only the last three characters count";
    EXPECT_EQ(ReferenceKind("clip.mpeg"), FolderKind::Gfx);
    EXPECT_EQ(ReferenceKind("theme.midi"), FolderKind::Gfx);
    EXPECT_EQ(ReferenceKind("pic.bmp"), FolderKind::Gfx);
    EXPECT_EQ(ReferenceKind("x."), FolderKind::Gfx);
    EXPECT_EQ(ReferenceKind("readme"), std::nullopt);
    EXPECT_EQ(ReferenceKind("mp3"), std::nullopt);
    EXPECT_EQ(ReferenceKind(""), std::nullopt);
}

TEST(AuditLists, IsListedMissingComparesExactlyWithinOneKind) {
    AuditLists lists;
    lists.MissingGfx = {"Pic.bmp"};
    lists.MissingMmedia = {"song.wav"};
    EXPECT_TRUE(IsListedMissing(lists, "Pic.bmp", FolderKind::Gfx));
    EXPECT_FALSE(IsListedMissing(lists, "pic.bmp", FolderKind::Gfx));
    EXPECT_FALSE(IsListedMissing(lists, "Pic.bmp", FolderKind::Mmedia));
    EXPECT_TRUE(IsListedMissing(lists, "song.wav", FolderKind::Mmedia));
    EXPECT_FALSE(IsListedMissing(lists, "song.wav", static_cast<FolderKind>(3)));
    EXPECT_FALSE(IsListedMissing(lists, "Pic.bmp", static_cast<FolderKind>(0)));
    EXPECT_THROW(lists.missing(static_cast<FolderKind>(0)), std::invalid_argument);
}

TEST(AuditLists, AddMissingKeepsTheOrderAndSkipsExactRepeats) {
    AuditLists lists;
    for (const char* name : {"zoo.bmp", "Apple.bmp", "pic.bmp", "Pic.bmp", "apple.bmp", "pic.bmp", "_x.bmp",
                             "10.bmp", "Äpfel.bmp", "ärger.bmp"})
        AddMissing(lists, name, FolderKind::Gfx);
    EXPECT_EQ(lists.MissingGfx, (Names{"10.bmp", "_x.bmp", "Apple.bmp", "apple.bmp", "Pic.bmp", "pic.bmp",
                                       "zoo.bmp", "Äpfel.bmp", "ärger.bmp"}));
    EXPECT_TRUE(lists.MissingMmedia.empty());
}

TEST(FolderIndex, ListsOrdinaryFilesIgnoringCaseOnceAPass) {
    TempDir dir;
    for (const char* name : {"b.bmp", "A.bmp", "a.bmp", "C.gif", ".hidden"})
        writeFileText(dir / name, "x");
    fs::create_directories(dir / "sub.bmp");
    FolderIndex index;
    EXPECT_EQ(index.files(dir.path()), (Names{"A.bmp", "a.bmp", "b.bmp", "C.gif"}));

    // The listing is read once: later changes on disk are not seen.
    writeFileText(dir / "late.bmp", "x");
    EXPECT_EQ(index.files(dir.path()).size(), 4u);
    EXPECT_FALSE(index.fileExists(dir.path(), "late.bmp"));
    EXPECT_TRUE(FolderIndex{}.fileExists(dir.path(), "LATE.BMP"));
}

TEST(FolderIndex, PresenceThroughSubfoldersAndOddPaths) {
    TempDir dir;
    fs::create_directories(dir / "gfx" / "Sub" / "Inner");
    writeFileText(dir / "gfx" / "Sub" / "Inner" / "pic.bmp", "x");
    writeFileText(dir / "gfx" / "top.bmp", "x");
    FolderIndex index;
    const fs::path gfx = dir / "gfx";
    EXPECT_TRUE(index.fileExists(gfx, "sub\\inner\\PIC.bmp"));
    EXPECT_TRUE(index.fileExists(gfx, "SUB/Inner/pic.bmp"));
    EXPECT_TRUE(index.fileExists(gfx, "\\top.bmp")) << "a leading separator adds nothing";
    EXPECT_TRUE(index.fileExists(gfx, "sub\\..\\top.bmp"));
    EXPECT_TRUE(index.fileExists(gfx, ".\\top.bmp"));
    EXPECT_FALSE(index.fileExists(gfx, "top.bmp\\"));
    EXPECT_FALSE(index.fileExists(gfx, "sub"));
    EXPECT_FALSE(index.fileExists(gfx, "nosuch\\pic.bmp"));
    EXPECT_FALSE(index.fileExists(dir / "nowhere", "top.bmp"));
    EXPECT_EQ(index.findFolder(dir.path(), "GFX/sub"), dir / "gfx" / "Sub");
    EXPECT_EQ(index.findFolder(dir.path(), "gfx/none"), std::nullopt);
}

TEST(ReferenceCollector, ListFoldersStartsAfresh) {
    MediaFolders media({"b.gif", "A.bmp"}, {"t.wav"});
    AuditLists lists;
    lists.MissingGfx = {"stale.bmp"};
    lists.UnusedMmedia = {"stale.wav"};
    ReferenceCollector collector(lists, media.dir.path(), noEventLoop());
    collector.ListFolders();
    EXPECT_TRUE(lists.MissingGfx.empty());
    EXPECT_EQ(lists.UnusedGfx, (Names{"A.bmp", "b.gif"}));
    EXPECT_EQ(lists.UnusedMmedia, (Names{"t.wav"}));
    EXPECT_EQ(collector.folder(FolderKind::Gfx), media.dir / "resource" / "gfx");
}

TEST(ReferenceCollector, CaseVariantsOnDiskAreOneFile) {
    MediaFolders media({"PIC.BMP", "pic.bmp", "other.bmp"}, {});
    AuditLists lists;
    ReferenceCollector collector(lists, media.dir.path(), noEventLoop());
    collector.ListFolders();
    collector.RecordReference("Pic.bmp");
    EXPECT_TRUE(lists.MissingGfx.empty());
    EXPECT_EQ(lists.UnusedGfx, (Names{"other.bmp"}));
}

TEST(ReferenceCollector, YieldsAsTheStepsSay) {
    MediaFolders media({"a.bmp", "b.bmp", "c.bmp"}, {});
    AuditLists lists;
    CountingLoop loop;
    ReferenceCollector collector(lists, media.dir.path(), loop);
    collector.ListFolders();
    EXPECT_EQ(loop.yields, 1);

    loop.yields = 0;
    collector.RecordReference("absent.bmp"); // the test, the new entry, three entries looked at
    EXPECT_EQ(loop.yields, 5);
    loop.yields = 0;
    collector.RecordReference("absent.bmp"); // already listed: no new entry
    EXPECT_EQ(loop.yields, 4);
    loop.yields = 0;
    collector.RecordReference("b.bmp"); // present: the test and three entries
    EXPECT_EQ(loop.yields, 4);
    loop.yields = 0;
    collector.RecordReference("readme");
    collector.RecordReference("");
    EXPECT_EQ(loop.yields, 0) << "ignored references do nothing at all";
    EXPECT_EQ(lists.MissingGfx, (Names{"absent.bmp"}));
    EXPECT_EQ(lists.UnusedGfx, (Names{"a.bmp", "c.bmp"}));

    loop.yields = 0;
    collector.RemoveBuiltInImages();
    EXPECT_EQ(loop.yields, 22);
}

TEST(ReferenceCollector, RemoveBuiltInImagesTakesOnlyTheTableNames) {
    Names files(BuiltInImageNames.begin(), BuiltInImageNames.end());
    files[2] = "BtnQuit.GIF";
    files.push_back("btnquit2.gif");
    files.push_back("bggame.png");
    MediaFolders media(files, {"bggame.bmp.wav"});
    AuditLists lists;
    ReferenceCollector collector(lists, media.dir.path(), noEventLoop());
    collector.ListFolders();
    collector.RemoveBuiltInImages();
    EXPECT_EQ(lists.UnusedGfx, (Names{"bggame.png", "btnquit2.gif"}));
    EXPECT_EQ(lists.UnusedMmedia, (Names{"bggame.bmp.wav"}));
    EXPECT_TRUE(lists.MissingGfx.empty());
}

TEST(ReferenceCollector, CollectSettingsFilesBySection) {
    TempDir dir;
    ProjectBuilder b;
    b.settings.BuiltInImages = 1;
    b.settings.SectionFiles = {Names{"one.bmp"}, Names{"two.wav", "", "two.bmp"}, Names{"three.gif"},
                               Names{"four.mid"}, Names{"five.jpg"}};
    ProjectState project;
    ChooseProjectFile(project, b.write(dir.path()));
    ASSERT_TRUE(LoadProject(project, noEventLoop()).loaded());
    const DataFiles files = OpenDataFiles(project, noEventLoop());

    AuditLists lists;
    ReferenceCollector collector(lists, project.Paths.ProjectFolder, noEventLoop());
    collector.ListFolders();
    collector.CollectSettingsFiles(0, files);
    collector.CollectSettingsFiles(6, files);
    EXPECT_TRUE(lists.MissingGfx.empty() && lists.MissingMmedia.empty());
    EXPECT_FALSE(lists.BuiltInImagesInUse);

    collector.CollectSettingsFiles(2, files);
    EXPECT_EQ(lists.MissingGfx, (Names{"two.bmp"}));
    EXPECT_EQ(lists.MissingMmedia, (Names{"two.wav"}));
    EXPECT_TRUE(lists.BuiltInImagesInUse);
    for (const Integer section : {Integer{1}, Integer{3}, Integer{4}, Integer{5}})
        collector.CollectSettingsFiles(section, files);
    EXPECT_EQ(lists.MissingGfx, (Names{"five.jpg", "one.bmp", "three.gif", "two.bmp"}));
    EXPECT_EQ(lists.MissingMmedia, (Names{"four.mid", "two.wav"}));
}

} // namespace
} // namespace orv
