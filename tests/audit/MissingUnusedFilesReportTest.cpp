#include "FilesReportRun.h"

#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::FilesReportRun;
using testing::Lines;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::RunFilesReport;
using testing::TempDir;
using Names = std::vector<std::string>;

constexpr std::string_view Separator = "======================================================================";
constexpr std::string_view Banner = "=================== MISSING & UNUSED RESOURCE FILES =================";
constexpr std::string_view Rule = "-----------------------------------------------------------------------------------"
                                  "-------------------------------------";
constexpr std::string_view FirstFootnote = "* Files listed as MISSING are assigned to properties but could not be "
                                           "located in the appropriate resource folder.";
constexpr std::string_view SecondFootnote = "** Files listed as UNUSED are in the resource folders, but no reference "
                                            "to them could be found in the project.";
constexpr std::string_view ZeroSpace = "Total space consumed by unused files: 0 KB (0.00 MB)";
constexpr std::string_view Congratulations = "*** Congratulations!  No files missing, no files unused! ***";

// The line of the body that starts with `start`; empty when there is none.
std::string lineStarting(const std::string& body, std::string_view start) {
    std::size_t pos = 0;
    while (pos <= body.size()) {
        const std::size_t end = std::min(body.find('\n', pos), body.size());
        const std::string line = body.substr(pos, end - pos);
        if (line.starts_with(start))
            return line;
        pos = end + 1;
    }
    return {};
}

// prefix1.ext to prefixN.ext
Names numbered(const std::string& prefix, int n, const std::string& ext) {
    Names names;
    for (int i = 1; i <= n; ++i)
        names.push_back(prefix + std::to_string(i) + ext);
    return names;
}

FilesReportRun runBuilt(const ProjectBuilder& builder, const TempDir& dir) {
    return RunFilesReport(builder.write(dir.path()));
}

TEST(MissingUnusedFilesReport, NothingMissingNothingUnusedCongratulates) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    b.scenes[0].SceneFile[0] = "hall.jpg";
    b.gfxFiles = {{"hall.jpg", "picture"}};
    const FilesReportRun r = runBuilt(b, dir);

    EXPECT_EQ(r.body, "\n\n" + Lines({Separator, Banner, "",
                                      "MISSING FILES FROM GFX FOLDER *:", "(None)", "",
                                      "MISSING FILES FROM MMEDIA FOLDER *:", "(None)", "",
                                      "UNUSED FILES IN GFX FOLDER **:", "(None)", "",
                                      "UNUSED FILES IN MMEDIA FOLDER **:", "(None)", "",
                                      Rule, "MISSING & UNUSED FILES SUMMARY:", "",
                                      "Total missing files: 0", "Total unused files: 0", ZeroSpace, Congratulations,
                                      Rule, "", FirstFootnote, SecondFootnote, Separator}));
    EXPECT_EQ(r.run.ReportName, "Resource Files Report");
    EXPECT_TRUE(r.run.FilesReportRan);
    EXPECT_EQ(r.header.substr(0, 31), "*** Orvanta Project Report ***\n");
}

// Every field that names a file, each either present on disk (so it must
// leave the unused list) or absent (so it must be listed missing), and the
// texts that are not references lying on disk as decoys.
ProjectBuilder everyReferenceField() {
    ProjectBuilder b;
    b.settings.ProjectName = "proj.bmp";
    b.settings.ExecutableName = "exe.bmp";
    Names section2 = numbered("b", 9, ".bmp");
    section2.push_back("b10.wav");
    b.settings.SectionFiles = {numbered("a", 6, ".bmp"), section2, numbered("c", 15, ".gif"), Names{"d1.mid"},
                               Names{"e1.mp3"}};

    SceneRecord first = makeScene("scenename.bmp");
    std::ranges::copy(numbered("f", 7, ".bmp"), first.SceneFile.begin());
    first.HeaderText = {"h1.bmp", "h2.bmp", "h3.bmp"};
    first.Slots[0].ObjectType = 2;
    std::ranges::copy(numbered("o", 9, ".bmp"), first.Slots[0].ObjectText.begin());
    first.Slots[19].ObjectText[8] = "empty20.wav"; // slot 20 is empty (type -1) and still counts
    SceneRecord second = makeScene("Second");
    second.SceneFile[0] = "f1.bmp";
    second.Slots[10].ObjectText[4] = "missing2.bmp";
    b.scenes = {first, second};

    CueCardRecord card1; // no choice sets a flag; every file still counts
    card1.ChoiceFile = {"k1.wav", "k2.bmp", "k3.bmp", "k4.bmp", "k5.bmp"};
    CueCardRecord card2;
    card2.ChoiceFile[2] = "  cue.wav";
    b.cueCards = {card1, card2};

    InventoryItemRecord item;
    item.ItemFile = {" door.gif", "i2.bmp", "i3.bmp", " key.bmp", "i5.bmp", "i6.bmp", "i7.bmp"};
    b.items = {item};

    LocationRecord loc1{"(Del)", "(Del)", "l3.bmp", 0};
    LocationRecord loc2{"(None)", "l22.bmp", "never.bmp", 0};
    b.locations = {loc1, loc2};

    Names present;
    for (const Names& section : b.settings.SectionFiles)
        present.insert(present.end(), section.begin(), section.end());
    present.insert(present.end(), first.SceneFile.begin(), first.SceneFile.end());
    present.insert(present.end(), first.Slots[0].ObjectText.begin(), first.Slots[0].ObjectText.end());
    for (const char* name : {"empty20.wav", "k1.wav", "k2.bmp", "k3.bmp", "k4.bmp", "k5.bmp", "i2.bmp", "i3.bmp",
                             "key.bmp", "i5.bmp", "i6.bmp", "i7.bmp", "l3.bmp", "l22.bmp"})
        present.push_back(name);
    for (const std::string& name : present) {
        const bool sound = name.ends_with(".wav") || name.ends_with(".mid") || name.ends_with(".mp3");
        (sound ? b.mmediaFiles : b.gfxFiles)[name] = "x";
    }
    // Not referenced the way they are spelled here, or not references at all.
    for (const char* name : {"door.gif", "never.bmp", "proj.bmp", "exe.bmp", "scenename.bmp", "h1.bmp", "h2.bmp",
                             "h3.bmp"})
        b.gfxFiles[name] = "x";
    return b;
}

TEST(MissingUnusedFilesReport, EveryReferenceFieldWithItsCleaning) {
    TempDir dir;
    const FilesReportRun r = runBuilt(everyReferenceField(), dir);

    // " door.gif" keeps the blank of ItemFile1, so door.gif stays unused;
    // " key.bmp" is ItemFile4, trimmed; the cue card file is trimmed; the
    // "(Del)" and "(None)" of LocationFile1 are ignored; LocationFile3 of
    // location 2 is never read.
    EXPECT_EQ(r.body, "\n\n" + Lines({Separator, Banner, "",
                                      "MISSING FILES FROM GFX FOLDER (2) *:", " door.gif", "missing2.bmp", "",
                                      "MISSING FILES FROM MMEDIA FOLDER (1) *:", "cue.wav", "",
                                      "UNUSED FILES IN GFX FOLDER (8) **:", "door.gif", "exe.bmp", "h1.bmp", "h2.bmp",
                                      "h3.bmp", "never.bmp", "proj.bmp", "scenename.bmp", "",
                                      "UNUSED FILES IN MMEDIA FOLDER **:", "(None)", "",
                                      Rule, "MISSING & UNUSED FILES SUMMARY:", "",
                                      "Total missing files: 3", "Total unused files: 8", ZeroSpace,
                                      Rule, "", FirstFootnote, SecondFootnote, Separator}));
    // Scenes 2 + sections 5 + cue cards 2 + items 1 + locations 2.
    EXPECT_EQ(r.progressMaximum, 12);
    EXPECT_EQ(r.highestProgress, 12);
}

TEST(MissingUnusedFilesReport, ExtensionDecidesTheFolder) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Studio")};
    b.scenes[0].SceneFile = {"Title.MP3", "clip.mpeg", "theme.midi", "readme", "intro.avi", "", "song.WaV"};
    b.gfxFiles = {{"readme", "text"}, {"intro.avi", "video"}, {"theme.midi", "x"}};
    b.mmediaFiles = {{"clip.mpeg", "x"}};
    const FilesReportRun r = runBuilt(b, dir);

    // clip.mpeg and theme.midi are pictures by their last three letters; the
    // mpeg in mmedia is therefore unused. readme has no dot and is ignored,
    // and intro.avi is looked for in mmedia only.
    EXPECT_EQ(r.lists.MissingGfx, (Names{"clip.mpeg"}));
    EXPECT_EQ(r.lists.MissingMmedia, (Names{"intro.avi", "song.WaV", "Title.MP3"}));
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"intro.avi", "readme"}));
    EXPECT_EQ(r.lists.UnusedMmedia, (Names{"clip.mpeg"}));
    EXPECT_EQ(lineStarting(r.body, "MISSING FILES FROM MMEDIA"), "MISSING FILES FROM MMEDIA FOLDER (3) *:");
    EXPECT_EQ(lineStarting(r.body, "UNUSED FILES IN MMEDIA"), "UNUSED FILES IN MMEDIA FOLDER (1) **:");
}

TEST(MissingUnusedFilesReport, LetterCaseOfReferencesAndFiles) {
    TempDir dir;
    ProjectBuilder b;
    SceneRecord scene = makeScene("Gallery");
    scene.SceneFile = {"Pic.bmp", "pic.bmp", "PHOTO.jpg", "", "", "", ""};
    for (std::size_t k = 0; k < 10; ++k)
        scene.Slots[k].ObjectText[0] = "again.gif"; // ten times, listed once
    scene.Slots[10].ObjectText[0] = "Zebra.gif";
    scene.Slots[10].ObjectText[1] = "apple.gif";
    b.scenes = {scene};
    b.gfxFiles = {{"photo.JPG", "x"}, {"Other.bmp", "x"}, {"another.bmp", "x"}};
    const FilesReportRun r = runBuilt(b, dir);

    // Sorted ignoring case; Pic.bmp and pic.bmp are two entries.
    EXPECT_EQ(r.lists.MissingGfx, (Names{"again.gif", "apple.gif", "Pic.bmp", "pic.bmp", "Zebra.gif"}));
    // photo.JPG satisfies PHOTO.jpg and leaves the unused list.
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"another.bmp", "Other.bmp"}));
    EXPECT_EQ(lineStarting(r.body, "MISSING FILES FROM GFX"), "MISSING FILES FROM GFX FOLDER (5) *:");
}

TEST(MissingUnusedFilesReport, ThreeMissingGiveACountedHeadingAndNoCongratulation) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Cellar")};
    b.scenes[0].SceneFile = {"one.bmp", "two.bmp", "three.bmp", "", "", "", ""};
    const FilesReportRun r = runBuilt(b, dir);

    EXPECT_EQ(lineStarting(r.body, "MISSING FILES FROM GFX"), "MISSING FILES FROM GFX FOLDER (3) *:");
    EXPECT_EQ(lineStarting(r.body, "MISSING FILES FROM MMEDIA"), "MISSING FILES FROM MMEDIA FOLDER *:");
    EXPECT_EQ(lineStarting(r.body, "UNUSED FILES IN GFX"), "UNUSED FILES IN GFX FOLDER **:");
    EXPECT_EQ(lineStarting(r.body, "Total missing files: "), "Total missing files: 3");
    EXPECT_EQ(lineStarting(r.body, "Total space"), ZeroSpace);
    EXPECT_EQ(r.body.find(Congratulations), std::string::npos);
}

TEST(MissingUnusedFilesReport, BuiltInImagesCountAsUsedOnlyWhenSwitchedOn) {
    for (const Integer setting : {Integer{1}, Integer{0}, Integer{2}}) {
        SCOPED_TRACE(setting);
        TempDir dir;
        ProjectBuilder b;
        b.settings.BuiltInImages = setting;
        b.gfxFiles = {{"BtnQuit.GIF", "x"}, {"bgGame.JPG", "x"}, {"own.gif", "x"}};
        const FilesReportRun r = runBuilt(b, dir);

        EXPECT_TRUE(r.lists.MissingGfx.empty()) << "built-in images are never listed missing";
        EXPECT_EQ(r.lists.BuiltInImagesInUse, setting == 1);
        if (setting == 1)
            EXPECT_EQ(r.lists.UnusedGfx, (Names{"own.gif"}));
        else
            EXPECT_EQ(r.lists.UnusedGfx, (Names{"bgGame.JPG", "BtnQuit.GIF", "own.gif"}));
    }
}

TEST(MissingUnusedFilesReport, SpaceFiguresRoundAsTheTextShows) {
    struct Case {
        std::size_t gfxBytes;
        std::size_t mmediaBytes;
        std::string_view line;
    };
    const Case cases[] = {
        {300, 200, ZeroSpace}, // one half rounds to the even 0 although files are unused
        {301, 200, "Total space consumed by unused files: 1 KB (. MB)"},
        {1'500'000, 500'000, "Total space consumed by unused files: 2,000 KB (1.95 MB)"},
        {128'000, 0, "Total space consumed by unused files: 128 KB (.12 MB)"}, // 0.125 goes to the even .12
        {1'000'000, 0, "Total space consumed by unused files: 1,000 KB (.98 MB)"},
        {2'048'000, 0, "Total space consumed by unused files: 2,048 KB (2. MB)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TempDir dir;
        ProjectBuilder b;
        b.gfxFiles = {{"big.bmp", std::string(c.gfxBytes, 'g')}};
        if (c.mmediaBytes > 0)
            b.mmediaFiles = {{"big.wav", std::string(c.mmediaBytes, 'm')}};
        const FilesReportRun r = runBuilt(b, dir);
        EXPECT_EQ(lineStarting(r.body, "Total space"), c.line);
        EXPECT_EQ(r.body.find(Congratulations), std::string::npos);
    }
}

TEST(MissingUnusedFilesReport, FileGoneBeforeItIsMeasuredAddsNothing) {
    TempDir dir;
    ProjectBuilder b;
    b.gfxFiles = {{"gone.bmp", std::string(5000, 'x')}, {"kept.bmp", std::string(2000, 'x')}};
    const fs::path gone = dir / "resource" / "gfx" / "gone.bmp";
    // The pass yields after its last step; the file vanishes then, after the
    // listing and before the sizes are taken.
    const FilesReportRun r = RunFilesReport(b.write(dir.path()), [&](testing::RecordingHost& host) {
        if (host.progressValue() == host.progressMaximum())
            fs::remove(gone);
    });
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"gone.bmp", "kept.bmp"}));
    EXPECT_EQ(lineStarting(r.body, "Total space"), "Total space consumed by unused files: 2 KB (. MB)");
}

TEST(MissingUnusedFilesReport, MissingGfxFolderIsAnEmptyFolder) {
    TempDir dir;
    ProjectBuilder b;
    b.writeGfxFolder = false;
    b.scenes = {makeScene("Void")};
    b.scenes[0].SceneFile = {"pic.bmp", "tune.mid", "", "", "", "", ""};
    b.mmediaFiles = {{"tune.mid", "x"}, {"extra.wav", "xx"}};
    const FilesReportRun r = runBuilt(b, dir);

    EXPECT_EQ(r.lists.MissingGfx, (Names{"pic.bmp"}));
    EXPECT_TRUE(r.lists.MissingMmedia.empty());
    EXPECT_TRUE(r.lists.UnusedGfx.empty());
    EXPECT_EQ(r.lists.UnusedMmedia, (Names{"extra.wav"}));
    EXPECT_NE(r.body.find("\n\nUNUSED FILES IN GFX FOLDER **:\n(None)\n"), std::string::npos);
}

TEST(MissingUnusedFilesReport, MediaFoldersAreFoundIgnoringCase) {
    TempDir dir;
    ProjectBuilder b;
    b.writeGfxFolder = false;
    b.writeMmediaFolder = false;
    b.scenes = {makeScene("Attic")};
    b.scenes[0].SceneFile = {"pic.bmp", "", "", "", "", "", ""};
    const fs::path projectFile = b.write(dir.path());
    fs::create_directories(dir / "resource" / "GFX");
    fs::create_directories(dir / "resource" / "MMedia");
    testing::writeFileText(dir / "resource" / "GFX" / "Pic.BMP", "x");
    testing::writeFileText(dir / "resource" / "GFX" / "left.bmp", std::string(1500, 'x'));
    testing::writeFileText(dir / "resource" / "MMedia" / "over.wav", std::string(1000, 'x'));
    const FilesReportRun r = RunFilesReport(projectFile);

    EXPECT_TRUE(r.lists.MissingGfx.empty());
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"left.bmp"}));
    EXPECT_EQ(r.lists.UnusedMmedia, (Names{"over.wav"}));
    // Both files are measured in the folders as spelled on disk: 2,500 bytes.
    EXPECT_EQ(lineStarting(r.body, "Total space"), "Total space consumed by unused files: 2 KB (. MB)");
}

TEST(MissingUnusedFilesReport, HiddenFilesSubfoldersAndLinks) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Maze")};
    b.scenes[0].SceneFile = {".secret.bmp", "SUB\\Deep.BMP", "sub\\none.bmp", "folder.bmp", "link.bmp",
                             "dangling.bmp", ""};
    b.gfxFiles = {{".secret.bmp", "x"}, {"deep.bmp", "x"}, {"target.dat", std::string(1200, 'x')}};
    const fs::path projectFile = b.write(dir.path());
    const fs::path gfx = dir / "resource" / "gfx";
    fs::create_directories(gfx / "Sub");
    testing::writeFileText(gfx / "Sub" / "deep.bmp", "x");
    fs::create_directories(gfx / "folder.bmp");
    fs::create_symlink("target.dat", gfx / "link.bmp");
    fs::create_symlink("nowhere.bmp", gfx / "dangling.bmp");
    fs::create_symlink("target.dat", gfx / "spare.bmp");
    const FilesReportRun r = RunFilesReport(projectFile);

    // Hidden files are absent and never listed; a folder is not a file; a
    // dangling link is absent; "\" reaches into a subfolder, found ignoring
    // case, and such a reference leaves the top-level deep.bmp unused.
    EXPECT_EQ(r.lists.MissingGfx, (Names{".secret.bmp", "dangling.bmp", "folder.bmp", "sub\\none.bmp"}));
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"deep.bmp", "spare.bmp", "target.dat"}));
    // deep.bmp 1 byte, spare.bmp through its link 1,200, target.dat 1,200.
    EXPECT_EQ(lineStarting(r.body, "Total space"), "Total space consumed by unused files: 2 KB (. MB)");
}

TEST(MissingUnusedFilesReport, NamesThatAreNotUtf8AreListedAsTheyAre) {
    TempDir dir;
    ProjectBuilder b;
    b.scenes = {makeScene("Odd")};
    b.scenes[0].SceneFile[0] = "caf\xC3\x89.bmp"; // "cafÉ.bmp"
    const fs::path projectFile = b.write(dir.path());
    const fs::path gfx = dir / "resource" / "gfx";
    testing::writeFileText(gfx / "bad\xFF\xFE.bmp", "xx");
    testing::writeFileText(gfx / "caf\xC3\xA9.bmp", "x"); // "café.bmp" on disk
    const FilesReportRun r = RunFilesReport(projectFile);

    EXPECT_TRUE(r.lists.MissingGfx.empty()) << "Windows-1252 letters match ignoring case";
    EXPECT_EQ(r.lists.UnusedGfx, (Names{"bad\xFF\xFE.bmp"}));
    EXPECT_NE(r.body.find("\nbad\xFF\xFE.bmp\n"), std::string::npos);
}

} // namespace
} // namespace orv
