// The resource files audit and its report: every field that names a file, the folders as they are on
// disk, and where each missing name is referenced.

#include "audit/FilesAudit.h"

#include "audit/FolderIndex.h"
#include "audit/MissingUnusedFilesReport.h"
#include "reports/ReportFixture.h"

#include <map>
#include <set>

namespace orv::testing {
namespace {
using Names = std::vector<std::string>;

// Runs report kind 0 as the desktop program does.
class FilesAuditTest : public ReportFixture {
  protected:
    FilesAudit audit;
    const AuditLists& lists = audit.lists;
    std::string body; // what the report appended to the header

    fs::path gfx() const { return dir / "resource" / "gfx"; }
    void runFilesReport(bool loadFirst = true) { // false: the test has loaded the project itself
        if (loadFirst)
            load();
        ctx->resourceFilesReport = [&](ReportContext& c) { MissingUnusedFilesReport(c, audit); };
        EXPECT_EQ(RunReport(ResourceFilesKind, *ctx).status, RunOutcome::Status::Show);
        ASSERT_TRUE(text.str().starts_with(header()));
        body = text.str().substr(header().size());
    }
    // The line of the body that starts with `start`.
    std::string line(std::string_view start) const {
        const std::size_t at = body.find("\n" + std::string(start));
        return at == std::string::npos ? "" : body.substr(at + 1, body.find('\n', at + 1) - at - 1);
    }
    Names places(FolderKind kind, const std::string& name) const {
        Names out;
        for (const ReferencePlace& place : lists.MissingPlaces.of(kind, name))
            out.push_back(DescribeReferencePlace(place, project()));
        return out;
    }
};

TEST_F(FilesAuditTest, NothingMissingNothingUnusedCongratulates) {
    builder.scenes = {makeScene("Hall")};
    builder.scenes[0].SceneFile[0] = "hall.jpg";
    builder.gfxFiles = {{"hall.jpg", "picture"}};
    runFilesReport();
    EXPECT_EQ(body, expectedText("files-congratulations.txt"));
    EXPECT_EQ(std::tuple(state.ReportName, state.FilesReportRan), std::tuple("Resource Files Report", true));
}

// Every field that names a file, all absent but cue.wav and key.bmp; texts that are no references lie
// on disk and stay unused. " door.gif" keeps the blank of ItemFile1, " key.bmp" (ItemFile4) and the
// cue card's file are trimmed; "(Del)" and "(None)" are ignored, as is location 2's LocationFile3.
TEST_F(FilesAuditTest, EveryReferenceFieldWithItsCleaningAndEveryPlace) {
    const auto numbered = [](const char* prefix, int n, const char* ext) {
        Names names;
        for (int i = 1; i <= n; ++i)
            names.push_back(prefix + std::to_string(i) + ext);
        return names;
    };
    builder.settings.ProjectName = "proj.bmp";
    builder.settings.ExecutableName = "exe.bmp";
    Names section2 = numbered("b", 9, ".bmp");
    section2.push_back("b10.wav");
    builder.settings.SectionFiles = {
        numbered("a", 6, ".bmp"), section2, numbered("c", 15, ".gif"), {"d1.mid"}, {"e1.mp3"}};
    SceneRecord first = makeScene("scenename.bmp");
    std::ranges::copy(numbered("f", 7, ".bmp"), first.SceneFile.begin());
    first.HeaderText = {"h1.bmp", "h2.bmp", "h3.bmp"};
    first.Slots[0].ObjectType = 2;
    std::ranges::copy(numbered("o", 9, ".bmp"), first.Slots[0].ObjectText.begin());
    first.Slots[19].ObjectText[8] = "empty20.wav"; // an empty slot (type -1) counts too
    SceneRecord second = makeScene("Second");
    second.SceneFile[0] = "f1.bmp";
    second.Slots[10].ObjectText[4] = "missing2.bmp";
    builder.scenes = {first, second};
    builder.cueCards = {{0, {}, {}, {}, {}, {"k1.wav", "k2.bmp", "k3.bmp", "k4.bmp", "k5.bmp"}},
                        {0, {}, {}, {}, {}, {"", "", "  cue.wav", "", ""}}};
    builder.items = {{{" door.gif", "i2.bmp", "i3.bmp", " key.bmp", "i5.bmp", "i6.bmp", "i7.bmp"}}};
    builder.locations = {{"(Del)", "(Del)", "l3.bmp", 0}, {"(None)", "l22.bmp", "never.bmp", 0}};
    for (const char* name :
         {"door.gif", "key.bmp", "never.bmp", "proj.bmp", "exe.bmp", "scenename.bmp", "h1.bmp", "h2.bmp", "h3.bmp"})
        builder.gfxFiles[name] = "x";
    builder.mmediaFiles = {{"cue.wav", "x"}};
    runFilesReport();
    EXPECT_EQ(body, expectedText("files-every-reference.txt"));
    EXPECT_EQ(host.progressMaximum(), 2 + 5 + 2 + 1 + 2); // scenes, sections, cue cards, items, locations
    EXPECT_EQ(host.progressValue(), host.progressMaximum());
    const std::vector<std::tuple<FolderKind, std::string, Names>> expected = {
        {FolderKind::Gfx, "a3.bmp", {"player settings, section 1"}},
        {FolderKind::Mmedia, "b10.wav", {"player settings, section 2"}},
        {FolderKind::Gfx, "f1.bmp", {"scene 1 (scenename.bmp), scene file 1", "scene 2 (Second), scene file 1"}},
        {FolderKind::Gfx, "f7.bmp", {"scene 1 (scenename.bmp), scene file 7"}},
        {FolderKind::Gfx, "o4.bmp", {"scene 1 (scenename.bmp), object 1 (Goodie)"}},
        {FolderKind::Mmedia, "empty20.wav", {"scene 1 (scenename.bmp), slot 20 (empty)"}},
        {FolderKind::Gfx, "missing2.bmp", {"scene 2 (Second), slot 11 (empty)"}},
        {FolderKind::Gfx, "k2.bmp", {"cue card 1, choice 2"}},
        {FolderKind::Gfx, "i5.bmp", {"inventory item 1, file 5"}}, {FolderKind::Gfx, "l3.bmp", {"location 1, file 3"}},
        {FolderKind::Gfx, "l22.bmp", {"location 2, file 2"}},
        {FolderKind::Gfx, "door.gif", {}}, // on disk
    };
    for (const auto& [kind, name, where] : expected)
        EXPECT_EQ(places(kind, name), where) << name;
    EXPECT_EQ(DescribeReferencePlace({ReferencePlace::Kind::Object, 20, 9, 9, 42}, project()),
              "scene 9 (), object 20 (type 42)");
    EXPECT_EQ(DescribeReferencePlace({ReferencePlace::Kind::Object, 3, 2, 2, 1}, project()),
              "scene 2 (Second), object 3 (HotSpot)");
}

TEST_F(FilesAuditTest, ExtensionsAndLetterCase) {
    SceneRecord scene = makeScene("Studio");
    scene.SceneFile = {"Title.MP3", "clip.mpeg", "theme.midi", "readme", "intro.avi", "Pic.bmp", "pic.bmp"};
    for (std::size_t k = 0; k < 10; ++k)
        scene.Slots[k].ObjectText[0] = "again.gif"; // listed once
    scene.Slots[10].ObjectText = {"Zebra.gif", "apple.gif", "PHOTO.jpg", "song.WaV", "a.b_wav",
                                  "mp3",       "x.",        "_x.bmp",    "10.bmp"};
    scene.Slots[11].ObjectText = {"Äpfel.bmp", "ärger.bmp"};
    builder.scenes = {scene};
    // Only the last three letters count: clip.mpeg and theme.midi are pictures (so the mpeg in mmedia is
    // unused), a.b_wav is a sound. readme and mp3 have no dot. intro.avi is looked for in mmedia only.
    // Both photos on disk are PHOTO.jpg; unused names that differ in case alone keep their bytes' order.
    builder.gfxFiles = {{"readme", "x"},    {"intro.avi", "x"}, {"theme.midi", "x"}, {"photo.JPG", "x"},
                        {"Photo.jpg", "x"}, {"Other.bmp", "x"}, {"other.BMP", "x"}};
    builder.mmediaFiles = {{"clip.mpeg", "x"}};
    runFilesReport();
    EXPECT_EQ(lists.MissingGfx, (Names{"10.bmp", "_x.bmp", "again.gif", "apple.gif", "clip.mpeg", "Pic.bmp", "pic.bmp",
                                       "x.", "Zebra.gif", "Äpfel.bmp", "ärger.bmp"}));
    EXPECT_EQ(lists.MissingMmedia, (Names{"a.b_wav", "intro.avi", "song.WaV", "Title.MP3"}));
    EXPECT_EQ(lists.UnusedGfx, (Names{"intro.avi", "Other.bmp", "other.BMP", "readme"}));
    EXPECT_EQ(lists.UnusedMmedia, (Names{"clip.mpeg"}));
    EXPECT_EQ(line("MISSING FILES FROM GFX"), "MISSING FILES FROM GFX FOLDER (11) *:");
    EXPECT_EQ(line("UNUSED FILES IN MMEDIA"), "UNUSED FILES IN MMEDIA FOLDER (1) **:");
    // What was probably meant, from the unused list of the missing name's folder.
    EXPECT_EQ(audit.suggestionsFor(FolderKind::Gfx, "other.gif"), (Names{"Other.bmp", "other.BMP"}));
    EXPECT_EQ(audit.suggestionsFor(FolderKind::Mmedia, "clip.wav"), Names{"clip.mpeg"});
}

TEST_F(FilesAuditTest, BuiltInImagesCountAsUsedOnlyWhenSwitchedOn) {
    const Names builtIn = {"bggame.bmp",     "bgGame.JPG",   "BtnQuit.GIF",  "btnsave.gif", "btnexamine.gif",
                           "bgmenu.bmp",     "bgmenu.jpg",   "btnintro.gif", "btnnew.gif",  "btnload.gif",
                           "btncredits.gif", "btnclose.gif", "btnyes.gif",   "btnno.gif",   "btnok.gif",
                           "btncancel.gif",  "bgsave.bmp",   "bgsave.jpg",   "bgload.bmp",  "bgload.jpg",
                           "bgquit.bmp",     "bgquit.jpg"};
    for (Integer setting : {Integer{1}, Integer{0}, Integer{2}}) {
        SCOPED_TRACE(setting);
        builder.settings.BuiltInImages = setting;
        for (const std::string& name : builtIn)
            builder.gfxFiles[name] = "x";
        builder.gfxFiles["btnquit2.gif"] = builder.gfxFiles["bggame.png"] = "x";
        builder.mmediaFiles = {{"bggame.jpg", "x"}};
        runFilesReport();
        EXPECT_TRUE(lists.MissingGfx.empty()) << "built-in images are never listed missing";
        EXPECT_EQ(lists.BuiltInImagesInUse, setting == 1);
        EXPECT_EQ(lists.UnusedGfx.size(), setting == 1 ? 2 : builtIn.size() + 2);
        EXPECT_EQ(lists.UnusedMmedia, Names{"bggame.jpg"});
    }
}

TEST_F(FilesAuditTest, SpaceFiguresRoundAsTheTextShowsAndEachFileIsMeasured) {
    const std::tuple<std::size_t, std::size_t, std::string_view> cases[] = {
        {300, 200, "0 KB (0.00 MB)"}, // one half rounds to the even 0 although files are unused
        {301, 200, "1 KB (. MB)"},
        {1'500'000, 500'000, "2,000 KB (1.95 MB)"}};
    for (const auto& [gfxBytes, mmediaBytes, figures] : cases) {
        builder.gfxFiles = {{"big.bmp", std::string(gfxBytes, 'g')}, {"empty.bmp", ""}};
        builder.mmediaFiles = {{"big.wav", std::string(mmediaBytes, 'm')}};
        runFilesReport();
        EXPECT_EQ(line("Total space"), "Total space consumed by unused files: " + std::string(figures));
        EXPECT_EQ(audit.sizes(FolderKind::Gfx), (std::vector<std::optional<std::uint64_t>>{gfxBytes, 0}));
    }
}

// Folders found in any case, spelled as on disk; an absent folder is empty, one that cannot be listed is
// named with the reason.
TEST_F(FilesAuditTest, FoldersMissingSpelledInAnotherCaseOrUnlistable) {
    builder.writeGfxFolder = builder.writeMmediaFolder = false;
    builder.scenes = {makeScene("Void")};
    builder.scenes[0].SceneFile = {"pic.bmp", "tune.mid", "", "", "", "", ""};
    runFilesReport();
    EXPECT_EQ(std::tuple(lists.MissingGfx, lists.MissingMmedia), std::tuple(Names{"pic.bmp"}, Names{"tune.mid"}));
    EXPECT_EQ(line("UNUSED FILES IN GFX"), "UNUSED FILES IN GFX FOLDER **:");
    EXPECT_EQ(body.find("Congratulations"), std::string::npos) << "files are missing";
    EXPECT_TRUE(lists.UnlistableFolders.empty());

    fs::rename(dir / "resource", dir / "RESOURCE");
    fs::create_directories(dir / "RESOURCE" / "GFX");
    writeFileText(dir / "RESOURCE" / "GFX" / "Pic.BMP", "x");
    writeFileText(dir / "RESOURCE" / "GFX" / "left.bmp", std::string(1500, 'x'));
    writeFileText(dir / "RESOURCE" / "mmedia", "a file where a folder belongs");
    load(open->project.Paths.ProjectFilePath);
    runFilesReport(false);
    EXPECT_EQ(std::tuple(lists.MissingGfx, lists.UnusedGfx), std::tuple(Names{}, Names{"left.bmp"}));
    EXPECT_EQ(std::tuple(audit.folder(FolderKind::Gfx), audit.folder(FolderKind::Mmedia)),
              std::tuple(dir / "RESOURCE" / "GFX", dir / "RESOURCE" / "mmedia"));
    ASSERT_NE(audit.unlistable(FolderKind::Mmedia), nullptr);
    EXPECT_EQ(std::tuple(audit.unlistable(FolderKind::Mmedia)->kind, audit.unlistable(FolderKind::Mmedia)->reason),
              std::tuple(FailureKind::FolderUnlistable, "Not a directory"));
    EXPECT_EQ(audit.unlistable(FolderKind::Gfx), nullptr);
}

TEST_F(FilesAuditTest, HiddenFilesSubfoldersLinksAndOddBytes) {
    builder.scenes = {makeScene("Maze")};
    builder.scenes[0].SceneFile = {".secret.bmp", "SUB\\Deep.BMP", "sub\\none.bmp",  "folder.bmp",
                                   "link.bmp",    "dangling.bmp",  "caf\xC3\x89.bmp"};
    // Found (but not named deep.bmp, which stays unused), and a final "\" that makes a folder of a file.
    builder.scenes[0].Slots[0].ObjectText = {"\\deep.bmp", "sub\\..\\deep.bmp", ".\\deep.bmp", "Sub/DEEP.bmp",
                                             "deep.bmp\\"};
    builder.gfxFiles = {{".secret.bmp", "x"}, {"deep.bmp", "x"}, {"target.dat", std::string(1200, 'x')}};
    load();
    fs::create_directories(gfx() / "Sub");
    writeFileText(gfx() / "Sub" / "deep.bmp", "x");
    fs::create_directories(gfx() / "folder.bmp");
    fs::create_symlink("target.dat", gfx() / "link.bmp");
    fs::create_symlink("nowhere.bmp", gfx() / "dangling.bmp");
    fs::create_symlink("target.dat", gfx() / "spare.bmp");
    writeFileText(gfx() / "caf\xC3\xA9.bmp", "x"); // matches ignoring case
    writeFileText(gfx() / "bad\xFF\xFE.bmp", "x"); // not UTF-8: listed under its real name, shown with U+FFFD
    runFilesReport(false);
    EXPECT_EQ(lists.MissingGfx, (Names{".secret.bmp", "dangling.bmp", "deep.bmp\\", "folder.bmp", "sub\\none.bmp"}));
    EXPECT_EQ(lists.UnusedGfx, (Names{"bad\xFF\xFE.bmp", "deep.bmp", "spare.bmp", "target.dat"}));
    EXPECT_NE(body.find("\nbad\uFFFD\uFFFD.bmp\n"), std::string::npos);
    EXPECT_EQ(line("Total space"), "Total space consumed by unused files: 2 KB (. MB)"); // 1 + 1 + 1,200 x 2
    EXPECT_EQ(audit.plain(FolderKind::Gfx), (std::vector<bool>{true, true, false, true})) << "spare.bmp is a link";
    EXPECT_EQ(audit.sizes(FolderKind::Gfx)[2], 1200u) << "measured through the link";
}

// Subfolders named with "\" or "/", each found ignoring case: a folder before a file of the same name,
// the exact spelling before the others, "." and ".." as the system reads them; hidden and trailing
// separators name no file.
TEST(FolderIndex, FindsFilesInSubfoldersIgnoringCase) {
    TempDir dir;
    for (const char* folder : {"Sub", "SUB", "other/Inner", "Lib"})
        fs::create_directories(dir / folder);
    for (const char* file : {"Sub/a.bmp", "SUB/b.bmp", "other/Inner/c.bmp", "other/d.bmp", ".h.bmp", "Sub2",
                             "other/.e.bmp", "top.bmp", "Lib/x.bmp", "lib"})
        writeFileText(dir / file, "x");
    fs::create_symlink("loop", dir / "loop");
    fs::create_symlink("other", dir / "linked");
    const std::pair<const char*, bool> cases[] = {
        {"top.bmp", true},         {"TOP.BMP", true},         {"SUB\\b.bmp", true},         {"sub\\b.bmp", true},
        {"sub\\a.bmp", false},     {"Sub/a.bmp", true},       {"Sub/b.bmp", false},         {"lib\\x.bmp", true},
        {"OTHER\\inner\\C.bmp", true}, {"other/./d.bmp", true}, {".\\top.bmp", true},       {"other\\..\\top.bmp", true},
        {"Sub\\..\\other\\d.bmp", true}, {"linked\\d.bmp", true}, {"top.bmp\\", false},     {"other/", false},
        {"other", false},          {"", false},               {".h.bmp", false},            {"other\\.e.bmp", false},
        {"Sub2\\x.bmp", false},    {"loop\\x.bmp", false},    {"missing\\d.bmp", false},    {"\\\\top.bmp", true}};
    FolderIndex index;
    for (const auto& [relative, exists] : cases)
        EXPECT_EQ(index.fileExists(dir.path(), relative), exists) << relative;
    EXPECT_EQ(index.findFolder(dir.path(), "sub"), dir / "SUB") << "of SUB and Sub, neither exact: the smaller";
    EXPECT_EQ(index.findFolder(dir.path(), "Sub"), dir / "Sub");
    EXPECT_EQ(index.findFolder(dir.path(), "lib"), dir / "Lib") << "a folder before a file of the very name";
    EXPECT_EQ(index.findFolder(dir.path(), "sub2"), dir / "Sub2") << "a file where a folder belongs is found";
    EXPECT_EQ(index.findFolder(dir.path(), "nothing"), std::nullopt);
    EXPECT_EQ(index.files(dir.path()), (Names{"lib", "Sub2", "top.bmp"})) << "ordinary files that are not hidden";
    EXPECT_EQ(std::tuple(index.listingError(dir.path()), index.listingError(dir / "loop"),
                         index.listingError(dir / "Sub2"), index.listingError(dir / "none")),
              std::tuple(0, ELOOP, ENOTDIR, ENOENT));
}

// More different fields than the pass remembers at once, each name met in several spellings of its field
// (a leading blank, a letter case), so that fields are pushed out and worked out again: the lists and
// every place of a missing name come out as the project's own layout says.
TEST_F(FilesAuditTest, EveryPlaceOfEveryMissingNameOnAProjectOfManyDifferentFields) {
    constexpr int Pool = 2600; // names m0 to m2599; those of even numbers are on disk
    std::map<std::string, std::vector<std::tuple<int, int, int>>> expectedPlaces; // name -> (scene, slot, field)
    std::set<std::string> referenced;
    int n = 0;
    for (int s = 1; s <= 40; ++s) {
        SceneRecord scene = makeScene("S" + std::to_string(s));
        const auto next = [&](int slot, int fieldNo) {
            const int i = (n++ * 7919) % Pool;
            const std::string name = "m" + std::to_string(i) + (i % 3 == 0 ? ".wav" : ".bmp");
            referenced.insert(name);
            if (i % 2 != 0)
                expectedPlaces[name].emplace_back(s, slot, fieldNo);
            return n % 3 == 0 ? " " + name : name;
        };
        for (std::size_t f = 1; f <= 7; ++f)
            scene.SceneFile[f - 1] = next(0, int(f));
        for (std::size_t k = 1; k <= 20; ++k)
            for (std::size_t t = 1; t <= 9; ++t)
                scene.Slots[k - 1].ObjectText[t - 1] = next(int(k), int(t));
        builder.scenes.push_back(scene);
    }
    std::size_t unusedOnDisk = 0;
    for (int i = 0; i < Pool + 40; i += 2) {
        const std::string name = "m" + std::to_string(i) + (i % 3 == 0 ? ".wav" : ".bmp");
        (i % 3 == 0 ? builder.mmediaFiles : builder.gfxFiles)[i % 4 == 0 ? name : "M" + name.substr(1)] = "x";
        unusedOnDisk += !referenced.contains(name);
    }
    runFilesReport();
    Names missingGfx, missingMmedia;
    for (const auto& [name, where] : expectedPlaces) {
        (name.ends_with(".wav") ? missingMmedia : missingGfx)
            .push_back(name); // lower-case: byte order is listing order
        std::vector<std::tuple<int, int, int>> found;
        for (const ReferencePlace& place :
             lists.MissingPlaces.of(name.ends_with(".wav") ? FolderKind::Mmedia : FolderKind::Gfx, name))
            found.emplace_back(place.record, place.slot, place.field);
        EXPECT_EQ(found, where) << name;
    }
    EXPECT_EQ(std::tuple(lists.MissingGfx, lists.MissingMmedia), std::tuple(missingGfx, missingMmedia));
    EXPECT_EQ(lists.UnusedGfx.size() + lists.UnusedMmedia.size(), unusedOnDisk);
    EXPECT_EQ(unusedOnDisk, 20u);
}

TEST_F(FilesAuditTest, AFileGoneBeforeItIsMeasuredAddsNothingAndAnUnreadableRecordStopsTheReport) {
    builder.gfxFiles = {{"gone.bmp", std::string(5000, 'x')}, {"kept.bmp", std::string(2000, 'x')}};
    host.onYield = [&] { // after the pass's last step, before the sizes are taken
        if (host.progressValue() == host.progressMaximum())
            fs::remove(gfx() / "gone.bmp");
    };
    builder.items.resize(3);
    runFilesReport();
    EXPECT_EQ(lists.UnusedGfx, (Names{"gone.bmp", "kept.bmp"}));
    EXPECT_EQ(line("Total space"), "Total space consumed by unused files: 2 KB (. MB)");

    host.onYield = nullptr;
    host.breakFile = dir / "resource" / "Orvanta3.dat";
    runFilesReport(false);
    EXPECT_EQ(body, "\n*** The report stopped early: " + host.breakFile.string() +
                        ": cannot read the file (Is a directory) ***");
    ASSERT_TRUE(audit.failure);
    EXPECT_EQ(audit.failure->path, host.breakFile);
}

} // namespace
} // namespace orv::testing
