#include "audit/ReferencePlaces.h"

#include "audit/AuditLists.h"
#include "audit/ReferenceCollector.h"
#include "data/Yield.h"
#include "support/TempDir.h"
#include "data/ProjectState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orv::testing {
namespace {

using Kind = ReferencePlace::Kind;

TEST(ReferencePlaces, KeepsThePlaceOfEveryReferenceToAMissingFileAndPassesEveryReferenceOn) {
    TempDir project;
    std::filesystem::create_directories(project / "resource/gfx");
    std::ofstream(project / "resource/gfx/here.bmp") << "x";
    std::ofstream(project / "resource/gfx/a.bmp") << "x";
    AuditLists lists;
    ReferenceCollector collector(lists, project.path(), noEventLoop());
    collector.ListFolders();
    MissingReferences places;
    PlaceRecorder recorder(collector, places);

    recorder.enter({Kind::Scene, 0, 0, 2});
    for (const char* name : {"here.bmp", "", "gone.bmp"}) // scene files 1 to 3
        recorder.RecordReference(name);
    recorder.enter({Kind::Object, 4, 0, 2, 1});
    for (const char* name : {"x", "gone.bmp", "gone.wav"}) // object texts 1 to 3
        recorder.RecordReference(name);
    recorder.enter({Kind::CueCard, 0, 0, 7});
    for (const char* name : {"a.bmp", "b.bmp", "GONE.bmp"})
        recorder.RecordReference(name);
    collector.Finish();

    // Every reference reached the collector.
    EXPECT_EQ(lists.MissingGfx, (std::vector<std::string>{"b.bmp", "GONE.bmp", "gone.bmp"}));
    EXPECT_TRUE(lists.UnusedGfx.empty());
    const auto& door = places.of(FolderKind::Gfx, "gone.bmp");
    ASSERT_EQ(door.size(), 2u);
    EXPECT_EQ(door[0].kind, Kind::Scene);
    EXPECT_EQ(door[0].field, 3);
    EXPECT_EQ(door[1].kind, Kind::Object);
    EXPECT_EQ(door[1].slot, 4);
    EXPECT_EQ(door[1].field, 2);
    ASSERT_EQ(places.of(FolderKind::Mmedia, "gone.wav").size(), 1u);
    EXPECT_EQ(places.of(FolderKind::Mmedia, "gone.wav")[0].field, 3);
    // The missing list's exact spelling is the key: GONE.bmp is not gone.bmp.
    ASSERT_EQ(places.of(FolderKind::Gfx, "GONE.bmp").size(), 1u);
    EXPECT_EQ(places.of(FolderKind::Gfx, "GONE.bmp")[0].kind, Kind::CueCard);
    EXPECT_EQ(places.of(FolderKind::Gfx, "GONE.bmp")[0].field, 3);
    EXPECT_TRUE(places.of(FolderKind::Gfx, "here.bmp").empty());
}

TEST(ReferencePlaces, NameEachKindOfPlaceTheWayTheCheckLinesDo) {
    ProjectState project;
    project.SceneListBox = {"(Not A Scene)", "Hall", "Kitchen"};
    const std::vector<std::pair<ReferencePlace, std::string>> cases = {
        {{Kind::Object, 3, 2, 2, 1}, "scene 2 (Kitchen), object 3 (HotSpot)"},
        {{Kind::Object, 3, 2, 2, -1}, "scene 2 (Kitchen), slot 3 (empty)"},
        {{Kind::Object, 20, 9, 1, 42}, "scene 1 (Hall), object 20 (type 42)"},
        {{Kind::Scene, 0, 4, 1}, "scene 1 (Hall), scene file 4"},
        {{Kind::Scene, 0, 1, 9}, "scene 9 (), scene file 1"},
        {{Kind::CueCard, 0, 2, 4}, "cue card 4, choice 2"},
        {{Kind::InventoryItem, 0, 5, 3}, "inventory item 3, file 5"},
        {{Kind::Location, 0, 1, 2}, "location 2, file 1"},
        {{Kind::PlayerSettings, 0, 3, 2}, "player settings, section 2"},
    };
    for (const auto& [place, text] : cases)
        EXPECT_EQ(DescribeReferencePlace(place, project), text);
}

} // namespace
} // namespace orv::testing
