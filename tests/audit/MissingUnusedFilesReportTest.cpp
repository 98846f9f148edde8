#include "audit/MissingUnusedFilesReport.h"

#include "audit/AuditLists.h"
#include "audit/ReferenceCollector.h"
#include "audit/ReferencePlaces.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include "reports/ReportFixture.h"

namespace orv::testing {
namespace {
using Names = std::vector<std::string>;

// Runs report kind 0 as the desktop program does, with the fixture of the report tests.
class FilesReportTest : public ReportFixture {
  protected:
    AuditLists lists;
    std::string body; // what the report appended to the header

    fs::path gfx() const { return dir / "resource" / "gfx"; }
    void runFilesReport(bool loadFirst = true) { // false: the test has loaded the project itself
        if (loadFirst) load();
        ctx.resourceFilesReport = [&](ReportContext& c) { MissingUnusedFilesReport(c, lists); };
        EXPECT_EQ(RunReport(ResourceFilesKind, ctx).status, RunOutcome::Status::Show);
        EXPECT_EQ(ctx.references, nullptr) << "the report must not leave its reference sink behind";
        ASSERT_TRUE(text.str().starts_with(header()));
        body = text.str().substr(header().size());
    }
    // The line of the body that starts with `start`.
    std::string line(std::string_view start) const {
        const std::size_t at = body.find("\n" + std::string(start));
        return at == std::string::npos ? "" : body.substr(at + 1, body.find('\n', at + 1) - at - 1);
    }
};

TEST_F(FilesReportTest, NothingMissingNothingUnusedCongratulates) {
    builder.scenes = {makeScene("Hall")};
    builder.scenes[0].SceneFile[0] = "hall.jpg";
    builder.gfxFiles = {{"hall.jpg", "picture"}};
    runFilesReport();
    EXPECT_EQ(body, expectedText("files-congratulations.txt"));
    EXPECT_EQ(state.ReportName, "Resource Files Report");
    EXPECT_TRUE(state.FilesReportRan);
}

// Every field that names a file, all absent but cue.wav and key.bmp; texts that are no references lie
// on disk and stay unused. " door.gif" keeps the blank of ItemFile1, " key.bmp" (ItemFile4) and the
// cue card's file are trimmed; "(Del)" and "(None)" are ignored, as is location 2's LocationFile3.
TEST_F(FilesReportTest, EveryReferenceFieldWithItsCleaning) {
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
    for (const char* name : {"door.gif", "key.bmp", "never.bmp", "proj.bmp", "exe.bmp", "scenename.bmp",
                             "h1.bmp", "h2.bmp", "h3.bmp"})
        builder.gfxFiles[name] = "x";
    builder.mmediaFiles = {{"cue.wav", "x"}};
    runFilesReport();
    EXPECT_EQ(body, expectedText("files-every-reference.txt"));
    EXPECT_EQ(host.progressMaximum(), 2 + 5 + 2 + 1 + 2); // scenes, sections, cue cards, items, locations
    EXPECT_EQ(host.progressValue(), host.progressMaximum());

    // Where each missing name is referenced, from every kind of place.
    const auto places = [&](FolderKind kind, const std::string& name) {
        Names out;
        for (const ReferencePlace& place : lists.MissingPlaces.of(kind, name))
            out.push_back(DescribeReferencePlace(place, ctx.project));
        return out;
    };
    const std::vector<std::tuple<FolderKind, std::string, Names>> expected = {
        {FolderKind::Gfx, "a3.bmp", {"player settings, section 1"}},
        {FolderKind::Mmedia, "b10.wav", {"player settings, section 2"}},
        {FolderKind::Gfx, "f1.bmp", {"scene 1 (scenename.bmp), scene file 1", "scene 2 (Second), scene file 1"}},
        {FolderKind::Gfx, "f7.bmp", {"scene 1 (scenename.bmp), scene file 7"}},
        {FolderKind::Gfx, "o4.bmp", {"scene 1 (scenename.bmp), object 1 (Goodie)"}},
        {FolderKind::Mmedia, "empty20.wav", {"scene 1 (scenename.bmp), slot 20 (empty)"}},
        {FolderKind::Gfx, "missing2.bmp", {"scene 2 (Second), slot 11 (empty)"}},
        {FolderKind::Gfx, "k2.bmp", {"cue card 1, choice 2"}},
        {FolderKind::Gfx, "i5.bmp", {"inventory item 1, file 5"}},
        {FolderKind::Gfx, "l3.bmp", {"location 1, file 3"}},
        {FolderKind::Gfx, "l22.bmp", {"location 2, file 2"}},
        {FolderKind::Gfx, "door.gif", {}}, // on disk
    };
    for (const auto& [kind, name, where] : expected)
        EXPECT_EQ(places(kind, name), where) << name;
}

TEST_F(FilesReportTest, ExtensionsAndLetterCase) {
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
    // Both photos on disk are PHOTO.jpg.
    builder.gfxFiles = {{"readme", "x"},    {"intro.avi", "x"}, {"theme.midi", "x"},
                        {"photo.JPG", "x"}, {"Photo.jpg", "x"}, {"Other.bmp", "x"}};
    builder.mmediaFiles = {{"clip.mpeg", "x"}};
    runFilesReport();
    EXPECT_EQ(lists.MissingGfx, (Names{"10.bmp", "_x.bmp", "again.gif", "apple.gif", "clip.mpeg", "Pic.bmp",
                                       "pic.bmp", "x.", "Zebra.gif", "Äpfel.bmp", "ärger.bmp"}));
    EXPECT_EQ(lists.MissingMmedia, (Names{"a.b_wav", "intro.avi", "song.WaV", "Title.MP3"}));
    EXPECT_EQ(lists.UnusedGfx, (Names{"intro.avi", "Other.bmp", "readme"})); // ordered ignoring case
    EXPECT_EQ(lists.UnusedMmedia, (Names{"clip.mpeg"}));
    EXPECT_EQ(line("MISSING FILES FROM GFX"), "MISSING FILES FROM GFX FOLDER (11) *:");
    EXPECT_EQ(line("MISSING FILES FROM MMEDIA"), "MISSING FILES FROM MMEDIA FOLDER (4) *:");
    EXPECT_EQ(line("UNUSED FILES IN MMEDIA"), "UNUSED FILES IN MMEDIA FOLDER (1) **:");
}

TEST_F(FilesReportTest, BuiltInImagesCountAsUsedOnlyWhenSwitchedOn) {
    const Names builtIn = {"bggame.bmp",     "bgGame.JPG",   "BtnQuit.GIF",  "btnsave.gif", "btnexamine.gif",
                           "bgmenu.bmp",     "bgmenu.jpg",   "btnintro.gif", "btnnew.gif",  "btnload.gif",
                           "btncredits.gif", "btnclose.gif", "btnyes.gif",   "btnno.gif",   "btnok.gif",
                           "btncancel.gif",  "bgsave.bmp",   "bgsave.jpg",   "bgload.bmp",  "bgload.jpg",
                           "bgquit.bmp",     "bgquit.jpg"};
    for (Integer setting : {Integer{1}, Integer{0}, Integer{2}}) {
        SCOPED_TRACE(setting);
        builder.settings.BuiltInImages = setting;
        builder.gfxFiles.clear();
        for (const std::string& name : builtIn)
            builder.gfxFiles[name] = "x";
        builder.gfxFiles["btnquit2.gif"] = builder.gfxFiles["bggame.png"] = "x";
        builder.mmediaFiles = {{"bggame.jpg", "x"}};
        runFilesReport();
        EXPECT_TRUE(lists.MissingGfx.empty()) << "built-in images are never listed missing";
        EXPECT_EQ(lists.BuiltInImagesInUse, setting == 1);
        if (setting == 1)
            EXPECT_EQ(lists.UnusedGfx, (Names{"bggame.png", "btnquit2.gif"}));
        else
            EXPECT_EQ(lists.UnusedGfx.size(), builtIn.size() + 2);
        EXPECT_EQ(lists.UnusedMmedia, Names{"bggame.jpg"});
    }
}

TEST_F(FilesReportTest, SpaceFiguresRoundAsTheTextShows) {
    const std::tuple<std::size_t, std::size_t, std::string_view> cases[] = {
        {300, 200, "0 KB (0.00 MB)"}, // one half rounds to the even 0 although files are unused
        {301, 200, "1 KB (. MB)"},
        {1'500'000, 500'000, "2,000 KB (1.95 MB)"}};
    for (const auto& [gfxBytes, mmediaBytes, figures] : cases) {
        builder.gfxFiles = {{"big.bmp", std::string(gfxBytes, 'g')}};
        builder.mmediaFiles = {{"big.wav", std::string(mmediaBytes, 'm')}};
        runFilesReport();
        EXPECT_EQ(line("Total space"), "Total space consumed by unused files: " + std::string(figures));
        EXPECT_EQ(body.find("Congratulations"), std::string::npos);
    }
}

TEST_F(FilesReportTest, FoldersMissingOrSpelledInAnotherCase) {
    builder.writeGfxFolder = builder.writeMmediaFolder = false;
    builder.scenes = {makeScene("Void")};
    builder.scenes[0].SceneFile = {"pic.bmp", "tune.mid", "", "", "", "", ""};
    runFilesReport();
    EXPECT_EQ(lists.MissingGfx, Names{"pic.bmp"});
    EXPECT_EQ(lists.MissingMmedia, Names{"tune.mid"});
    EXPECT_TRUE(lists.UnusedGfx.empty() && lists.UnusedMmedia.empty());
    EXPECT_EQ(line("UNUSED FILES IN GFX"), "UNUSED FILES IN GFX FOLDER **:");
    EXPECT_EQ(body.find("Congratulations"), std::string::npos) << "files are missing";

    fs::create_directories(dir / "resource" / "GFX");
    fs::create_directories(dir / "resource" / "MMedia");
    writeFileText(dir / "resource" / "GFX" / "Pic.BMP", "x");
    writeFileText(dir / "resource" / "GFX" / "left.bmp", std::string(1500, 'x'));
    writeFileText(dir / "resource" / "MMedia" / "over.wav", std::string(1000, 'x'));
    runFilesReport(false);
    EXPECT_TRUE(lists.MissingGfx.empty());
    EXPECT_EQ(lists.UnusedGfx, Names{"left.bmp"});
    EXPECT_EQ(lists.UnusedMmedia, Names{"over.wav"});
    EXPECT_EQ(line("Total space"), "Total space consumed by unused files: 2 KB (. MB)") << "2,500 bytes";
}

TEST_F(FilesReportTest, HiddenFilesSubfoldersLinksAndOddBytes) {
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
    // Hidden files are absent and never listed; a folder is not a file; a dangling link is absent; "\"
    // reaches into a subfolder, found ignoring case, and such a reference leaves deep.bmp unused.
    EXPECT_EQ(lists.MissingGfx,
              (Names{".secret.bmp", "dangling.bmp", "deep.bmp\\", "folder.bmp", "sub\\none.bmp"}));
    EXPECT_EQ(lists.UnusedGfx, (Names{"bad\xFF\xFE.bmp", "deep.bmp", "spare.bmp", "target.dat"}));
    EXPECT_NE(body.find("\nbad\uFFFD\uFFFD.bmp\n"), std::string::npos);
    // 1 + 1 + 1,200 through the link + 1,200 bytes.
    EXPECT_EQ(line("Total space"), "Total space consumed by unused files: 2 KB (. MB)");
}

// More different fields than the pass remembers at once, each name met in several spellings of its field
// (a leading blank, a letter case), so that fields are pushed out and worked out again: the lists and
// every place of a missing name come out as the project's own layout says.
TEST_F(FilesReportTest, EveryPlaceOfEveryMissingNameOnAProjectOfManyDifferentFields) {
    constexpr int SceneCount = 40;
    constexpr int Pool = 2600; // names m0 to m2599; those of even numbers are on disk
    std::map<std::string, std::vector<std::tuple<int, int, int>>> expectedPlaces; // name -> (scene, slot, field)
    std::set<std::string> referenced;
    int n = 0;
    for (int s = 1; s <= SceneCount; ++s) {
        SceneRecord scene = makeScene("S" + std::to_string(s));
        const auto next = [&](int slot, int fieldNo) {
            const int i = (n++ * 7919) % Pool;
            const std::string name = "m" + std::to_string(i) + (i % 3 == 0 ? ".wav" : ".bmp");
            referenced.insert(name);
            if (i % 2 != 0)
                expectedPlaces[name].emplace_back(s, slot, fieldNo);
            // The same name in another field's bytes: a leading blank (trimmed) or capitals on disk's side.
            return n % 3 == 0 ? " " + name : name;
        };
        for (int f = 1; f <= 7; ++f)
            scene.SceneFile[static_cast<std::size_t>(f - 1)] = next(0, f);
        for (int k = 1; k <= 20; ++k)
            for (int t = 1; t <= 9; ++t)
                scene.Slots[static_cast<std::size_t>(k - 1)].ObjectText[static_cast<std::size_t>(t - 1)] = next(k, t);
        builder.scenes.push_back(scene);
    }
    Names onDiskUnused;
    for (int i = 0; i < Pool + 40; i += 2) {
        const std::string name = "m" + std::to_string(i) + (i % 3 == 0 ? ".wav" : ".bmp");
        (i % 3 == 0 ? builder.mmediaFiles : builder.gfxFiles)[i % 4 == 0 ? name : "M" + name.substr(1)] = "x";
    }
    runFilesReport();

    Names missingGfx, missingMmedia;
    for (const auto& [name, places] : expectedPlaces)
        (name.ends_with(".wav") ? missingMmedia : missingGfx).push_back(name);
    const auto listingOrder = [](Names names) {
        std::sort(names.begin(), names.end()); // lower-case ASCII: folded order is byte order
        return names;
    };
    EXPECT_EQ(lists.MissingGfx, listingOrder(missingGfx));
    EXPECT_EQ(lists.MissingMmedia, listingOrder(missingMmedia));
    for (const auto& [name, places] : expectedPlaces) {
        std::vector<std::tuple<int, int, int>> found;
        for (const ReferencePlace& place :
             lists.MissingPlaces.of(name.ends_with(".wav") ? FolderKind::Mmedia : FolderKind::Gfx, name))
            found.emplace_back(place.record, place.slot, place.field);
        EXPECT_EQ(found, places) << name;
    }
    // The files on disk that nothing names: numbers from the pool's end on.
    std::size_t unusedOnDisk = 0;
    for (int i = 0; i < Pool + 40; i += 2)
        unusedOnDisk += referenced.count("m" + std::to_string(i) + (i % 3 == 0 ? ".wav" : ".bmp")) == 0;
    EXPECT_EQ(lists.UnusedGfx.size() + lists.UnusedMmedia.size(), unusedOnDisk);
    EXPECT_EQ(unusedOnDisk, 20u);
}

TEST_F(FilesReportTest, AFileGoneBeforeItIsMeasuredAddsNothing) {
    builder.gfxFiles = {{"gone.bmp", std::string(5000, 'x')}, {"kept.bmp", std::string(2000, 'x')}};
    host.onYield = [&] { // after the pass's last step, before the sizes are taken
        if (host.progressValue() == host.progressMaximum()) fs::remove(gfx() / "gone.bmp");
    };
    runFilesReport();
    EXPECT_EQ(lists.UnusedGfx, (Names{"gone.bmp", "kept.bmp"}));
    EXPECT_EQ(line("Total space"), "Total space consumed by unused files: 2 KB (. MB)");
}

TEST(AuditLists, IsListedMissingComparesExactlyWithinOneKind) {
    AuditLists lists;
    AddMissing(lists, "Pic.bmp", FolderKind::Gfx);
    EXPECT_TRUE(IsListedMissing(lists, "Pic.bmp", FolderKind::Gfx));
    EXPECT_FALSE(IsListedMissing(lists, "PIC.bmp", FolderKind::Gfx));
    EXPECT_FALSE(IsListedMissing(lists, "Pic.bmp", FolderKind::Mmedia));
    EXPECT_FALSE(IsListedMissing(lists, "Pic.bmp", static_cast<FolderKind>(0)));
    EXPECT_THROW(lists.missing(static_cast<FolderKind>(3)), std::invalid_argument);
}

class CountingLoop : public EventLoop {
  public:
    void yield() override { ++yields; }
    int yields = 0;
};

// What the report cannot show: the yields and the settings sections outside 1 to 5.
TEST_F(FilesReportTest, CollectorYieldsAsTheStepsSayAndReadsSettingsSectionsOneToFiveOnly) {
    builder.settings.BuiltInImages = 1;
    builder.settings.SectionFiles[1] = {"two.wav", "", "two.bmp"};
    builder.gfxFiles = {{"a.bmp", "x"}, {"b.bmp", "x"}, {"c.bmp", "x"}};
    loadAndOpen();
    CountingLoop loop;
    ReferenceCollector collector(lists, dir.path(), loop);
    const auto yieldsOf = [&](const std::function<void()>& step) {
        loop.yields = 0;
        step();
        return loop.yields;
    };
    EXPECT_EQ(yieldsOf([&] { collector.ListFolders(); }), 1);
    // The existence test and the new entry; no unused entry names it, so none is looked at.
    EXPECT_EQ(yieldsOf([&] { collector.RecordReference("absent.bmp"); }), 2);
    EXPECT_EQ(yieldsOf([&] { collector.RecordReference("absent.bmp"); }), 1) << "already listed";
    // The existence test and the entry taken off, found by its name instead of a walk of the list.
    EXPECT_EQ(yieldsOf([&] { collector.RecordReference("b.bmp"); }), 2);
    EXPECT_EQ(yieldsOf([&] { collector.RecordReference("B.BMP"); }), 1) << "already taken off";
    EXPECT_EQ(yieldsOf([&] { collector.RecordReference("readme"), collector.RecordReference(""); }), 0);
    EXPECT_EQ(yieldsOf([&] { collector.RemoveBuiltInImages(); }), 22);
    EXPECT_EQ(yieldsOf([&] { collector.Finish(); }), 0);
    EXPECT_EQ(lists.UnusedGfx, (Names{"a.bmp", "c.bmp"}));

    collector.CollectSettingsFiles(0, ctx.data());
    collector.CollectSettingsFiles(6, ctx.data());
    EXPECT_EQ(lists.MissingGfx, Names{"absent.bmp"});
    EXPECT_FALSE(lists.BuiltInImagesInUse);
    collector.CollectSettingsFiles(2, ctx.data());
    collector.Finish();
    EXPECT_EQ(lists.MissingGfx, (Names{"absent.bmp", "two.bmp"}));
    EXPECT_EQ(lists.MissingMmedia, Names{"two.wav"});
    EXPECT_TRUE(lists.BuiltInImagesInUse);
}

} // namespace
} // namespace orv::testing
