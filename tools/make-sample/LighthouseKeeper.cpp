#include "make-sample/LighthouseKeeper.h"

#include "make-sample/Bmp.h"
#include "make-sample/Gif.h"
#include "make-sample/Jpeg.h"
#include "make-sample/Midi.h"
#include "make-sample/Pictures.h"
#include "make-sample/Sounds.h"
#include "make-sample/Wav.h"

#include <initializer_list>
#include <string>

namespace orv {
namespace {
using testing::makeScene;
using testing::setSetting;

// Comparison codes of the flag tests.
constexpr Integer Equal = 0, NotEqual = 1, Less = 2, Greater = 3;

// The game's flags.
constexpr Integer LampLit = 1, HasOil = 2, DoorOpen = 3, Storm = 4, MetFisherman = 5, RadioFixed = 6,
                  ShipSaved = 7, CellarVisits = 8, ReadLog = 9, FuseFitted = 10, GullFed = 11, Tide = 12,
                  ReadSign = 13, HasFish = 14, Soaked = 15, ClockChimed = 16, PowerOn = 17, CountedSteps = 18,
                  HasRope = 19, TalkStep = 20, Drips = 21, BoatLaunched = 22, FoundBottle = 23, TelescopeFixed = 24,
                  HasShell = 25, BellRung = 26, TrapdoorOpen = 27, Score = 250;

ObjectSlot& place(SceneRecord& scene, int slotNo, Integer type, std::initializer_list<std::string> texts = {}) {
    ObjectSlot& slot = scene.Slots.at(static_cast<std::size_t>(slotNo - 1));
    slot.ObjectType = type;
    std::size_t k = 0;
    for (const std::string& t : texts)
        slot.ObjectText.at(k++) = t;
    return slot;
}

// Visibility group at v: visible only while the flag test holds.
void visibleWhen(ObjectSlot& slot, std::size_t v, Integer flag, Integer op, Integer value) {
    setSetting(slot, v, 2);
    setSetting(slot, v + 2, flag);
    setSetting(slot, v + 4, op);
    setSetting(slot, v + 6, value);
}

// Condition group with its switch at c.
void activeWhen(ObjectSlot& slot, std::size_t c, Integer flag, Integer op, Integer value) {
    setSetting(slot, c, 1);
    setSetting(slot, c + 2, flag);
    setSetting(slot, c + 4, op);
    setSetting(slot, c + 6, value);
}

// Flag-change group with its switch at a.
void changes(ObjectSlot& slot, std::size_t a, Integer flag, Integer value, bool adds) {
    setSetting(slot, a, 1);
    setSetting(slot, a + 2, flag);
    setSetting(slot, a + 4, value);
    setSetting(slot, a + 6, adds ? 1 : 0);
}

std::vector<SceneRecord> scenes() {
    std::vector<SceneRecord> all;

    SceneRecord harbour = makeScene("Harbour");
    harbour.SceneFile[0] = "harbour.jpg";
    harbour.SceneFile[1] = "waves.wav";
    place(harbour, 1, 0, {"gulls.gif", "gulls.wav"}); // Ambient, always there
    changes(place(harbour, 2, 1, {"sign.gif"}), 175, ReadSign, 1, false);                 // HotSpot
    visibleWhen(place(harbour, 3, 8, {"fisher.gif"}), 143, ShipSaved, Equal, 0);          // Conversation
    ObjectSlot& fish = place(harbour, 4, 2, {"fish.gif"});                                // Goodie
    visibleWhen(fish, 163, HasFish, Equal, 0);
    changes(fish, 171, HasFish, 1, false);
    all.push_back(harbour);

    SceneRecord cliff = makeScene("Cliff Path");
    cliff.SceneFile[0] = "cliff.bmp";
    cliff.SceneFile[2] = "wind.wav";
    // The author switched the shortcut off but left its settings behind.
    cliff.CondLoadEnabled = 0;
    cliff.CondLoadFlag = Storm;
    cliff.CondLoadOperator = Equal;
    cliff.CondLoadValue = 1;
    cliff.CondLoadScene = 11;
    ObjectSlot& gull = place(cliff, 1, 4, {"gull.gif", "gulls.wav"}); // Reactor
    visibleWhen(gull, 149, HasFish, Greater, 0);
    changes(gull, 157, GullFed, 1, false);
    ObjectSlot& rain = place(cliff, 2, 0, {"rain.gif"}); // Ambient
    visibleWhen(rain, 149, Storm, Equal, 1);
    changes(rain, 157, Soaked, 1, true);
    all.push_back(cliff);

    SceneRecord cottage = makeScene("Cottage");
    cottage.SceneFile[0] = "cottage.bmp";
    ObjectSlot& oil = place(cottage, 1, 2, {"oilcan.gif"}); // Goodie
    visibleWhen(oil, 163, HasOil, Equal, 0);
    changes(oil, 171, HasOil, 1, false);
    ObjectSlot& key = place(cottage, 2, 2, {"key.gif"}); // Goodie that scores
    visibleWhen(key, 163, DoorOpen, Equal, 0);
    changes(key, 171, Score, 5, true);
    changes(place(cottage, 3, 1), 175, ReadLog, 1, false); // HotSpot on the bookshelf, no picture
    // A deleted chair: the slot is empty but still names its picture.
    ObjectSlot& chair = place(cottage, 4, -1, {"oldchair.gif"});
    setSetting(chair, 163, 2);
    ObjectSlot& clock = place(cottage, 5, 6, {"clock.gif", "chime.wav"}); // Delay
    setSetting(clock, 143, ReadLog);
    setSetting(clock, 145, Equal);
    setSetting(clock, 147, 1);
    setSetting(clock, 149, 5);
    setSetting(clock, 151, ClockChimed);
    setSetting(clock, 153, 1);
    setSetting(clock, 155, 0);
    all.push_back(cottage);

    SceneRecord base = makeScene("Tower Base");
    base.SceneFile[0] = "towerbase.jpg";
    base.CondLoadEnabled = 1; // once the ship is safe, the story moves on
    base.CondLoadFlag = ShipSaved;
    base.CondLoadOperator = Greater;
    base.CondLoadValue = 0;
    base.CondLoadScene = 12;
    ObjectSlot& door = place(base, 1, 3, {"Door.GIF"}); // Switch; the file is door.gif
    setSetting(door, 141, DoorOpen);
    setSetting(door, 143, 0);
    setSetting(door, 149, 1);
    ObjectSlot& fusebox = place(base, 2, 5, {"fusebox.gif"}); // Responder
    activeWhen(fusebox, 141, FuseFitted, Equal, 1);
    changes(fusebox, 165, PowerOn, 1, false);
    // The bell: its rope here rings it once, the bell on the stairs twice;
    // the trapdoor in the watch room waits for a third ring that no one
    // ever makes (the author set the flag where adding was meant).
    changes(place(base, 3, 1), 175, BellRung, 1, false); // HotSpot on the bell rope, no picture
    all.push_back(base);

    SceneRecord stairs = makeScene("Spiral Stairs");
    stairs.SceneFile[0] = "stairs.jpg";
    ObjectSlot& steps = place(stairs, 1, 7); // Multi-Trigger
    setSetting(steps, 143, CellarVisits);
    setSetting(steps, 145, Equal);
    setSetting(steps, 147, 1);
    changes(steps, 149, CountedSteps, 1, false);
    setSetting(steps, 159, CellarVisits);
    setSetting(steps, 161, Equal);
    setSetting(steps, 163, 3);
    changes(steps, 165, Score, 10, true);
    setSetting(steps, 175, CellarVisits);
    setSetting(steps, 177, Greater);
    setSetting(steps, 179, 5);
    setSetting(steps, 183, TalkStep); // trigger 3 changes nothing: its switch is off
    changes(place(stairs, 2, 4), 157, BellRung, 2, false); // Reactor: the bell on the landing
    all.push_back(stairs);

    SceneRecord watch = makeScene("Watch Room");
    watch.SceneFile[0] = "watchroom.jpg";
    watch.SceneFile[1] = "storm.jpg";
    ObjectSlot& radio = place(watch, 1, 1, {"radio.gif", "radio.avi"}); // HotSpot
    visibleWhen(radio, 167, PowerOn, Equal, 1);
    changes(radio, 175, RadioFixed, 1, false);
    visibleWhen(place(watch, 2, 8, {"radioman.gif"}), 143, RadioFixed, Equal, 1); // Conversation
    ObjectSlot& fuse = place(watch, 3, 2, {"fuse.gif"}); // Goodie
    visibleWhen(fuse, 163, FuseFitted, Equal, 0);
    changes(fuse, 171, FuseFitted, 1, false);
    ObjectSlot& trapdoor = place(watch, 4, 1); // HotSpot: never there, the bell never rings three times
    visibleWhen(trapdoor, 167, BellRung, Equal, 3);
    changes(trapdoor, 175, TrapdoorOpen, 1, false);
    all.push_back(watch);

    SceneRecord lamp = makeScene("Lamp Room");
    lamp.SceneFile[0] = "lamproom.jpg";
    lamp.SceneFile[3] = "foghorn.wav";
    lamp.OnLoadFlagEnabled = 1; // climbing up, the keeper sees the storm break
    lamp.OnLoadFlag = Storm;
    lamp.OnLoadValue = 1;
    lamp.OnLoadAdds = 0;
    ObjectSlot& lens = place(lamp, 1, 4, {"lamp.gif"}); // Reactor, always visible
    changes(lens, 157, LampLit, 1, false);
    ObjectSlot& rescue = place(lamp, 2, 9, {"7", "1", "0"}); // Flag Conjunction: set flag 7 to 1
    activeWhen(rescue, 143, LampLit, Equal, 1);
    activeWhen(rescue, 151, HasOil, Equal, 1);
    activeWhen(rescue, 159, Storm, Equal, 1);
    setSetting(rescue, 169, RadioFixed); // condition D left switched off
    ObjectSlot& beam = place(lamp, 3, 0, {"beam.gif"}); // Ambient
    visibleWhen(beam, 149, LampLit, NotEqual, 0);
    all.push_back(lamp);

    SceneRecord gallery = makeScene("Gallery");
    gallery.SceneFile[0] = "gallery.bmp";
    gallery.SceneFile[4] = "wind.wav";
    gallery.CondLoadEnabled = 1;
    gallery.CondLoadFlag = ShipSaved;
    gallery.CondLoadOperator = Equal;
    gallery.CondLoadValue = 1;
    gallery.CondLoadScene = 12;
    visibleWhen(place(gallery, 1, 0, {"ship.gif"}), 149, Storm, Equal, 1); // Ambient
    ObjectSlot& bonus = place(gallery, 2, 9, {"250", "20", "1"}); // Flag Conjunction: add 20 to the score
    activeWhen(bonus, 143, ShipSaved, Equal, 1);
    activeWhen(bonus, 151, CountedSteps, Equal, 1);
    // A dead end: nothing in the game ever mends the telescope.
    ObjectSlot& telescope = place(gallery, 3, 1, {"telescope.gif"}); // HotSpot
    visibleWhen(telescope, 167, TelescopeFixed, Equal, 1);
    changes(telescope, 175, Score, 5, true);
    all.push_back(gallery);

    SceneRecord cellar = makeScene("Cellar");
    cellar.SceneFile[0] = "cellar.jpg";
    cellar.OnLoadFlagEnabled = 1;
    cellar.OnLoadFlag = CellarVisits;
    cellar.OnLoadValue = 1;
    cellar.OnLoadAdds = 1;
    ObjectSlot& rope = place(cellar, 1, 2, {"rope.gif"}); // Goodie
    visibleWhen(rope, 163, HasRope, Equal, 0);
    changes(rope, 171, HasRope, 1, false);
    ObjectSlot& drip = place(cellar, 2, 6, {"", "waves.wav"}); // Delay that adds
    setSetting(drip, 143, CellarVisits);
    setSetting(drip, 145, Greater);
    setSetting(drip, 147, 2);
    setSetting(drip, 149, 10);
    setSetting(drip, 151, Drips);
    setSetting(drip, 153, 1);
    setSetting(drip, 155, 1);
    // Light falls through the open trapdoor onto a lantern: so it never does.
    ObjectSlot& lantern = place(cellar, 3, 2); // Goodie
    visibleWhen(lantern, 163, TrapdoorOpen, Equal, 1);
    changes(lantern, 171, Score, 5, true);
    all.push_back(cellar);

    SceneRecord boathouse = makeScene("Boathouse");
    boathouse.SceneFile[0] = "boathouse.jpg";
    boathouse.CondLoadEnabled = 1; // the fisherman must lend the key first
    boathouse.CondLoadFlag = MetFisherman;
    boathouse.CondLoadOperator = Equal;
    boathouse.CondLoadValue = 0;
    boathouse.CondLoadScene = 1;
    ObjectSlot& lever = place(boathouse, 1, 3, {"lever.gif"}); // Switch
    setSetting(lever, 141, Tide);
    setSetting(lever, 143, 0);
    setSetting(lever, 149, 2);
    visibleWhen(lever, 165, HasRope, Equal, 1);
    ObjectSlot& winch = place(boathouse, 2, 5, {"", "splash.wav"}); // Responder
    activeWhen(winch, 141, Tide, Equal, 2);
    changes(winch, 165, BoatLaunched, 1, false);
    all.push_back(boathouse);

    SceneRecord shore = makeScene("Rocky Shore");
    shore.SceneFile[0] = "shore.jpg";
    shore.SceneFile[1] = "waves.wav";
    ObjectSlot& bottle = place(shore, 1, 2, {"bottle.gif"}); // Goodie
    visibleWhen(bottle, 163, BoatLaunched, Equal, 1);
    changes(bottle, 171, FoundBottle, 1, false);
    place(shore, 2, 8, {"seal.gif"}); // Conversation, always there
    // The author ticked the pick-up change but never chose its flag (meant
    // HasShell), so the shell can never disappear.
    ObjectSlot& shell = place(shore, 3, 2, {"shell.gif"}); // Goodie
    visibleWhen(shell, 163, HasShell, Equal, 0);
    changes(shell, 171, 0, 1, false);
    all.push_back(shore);

    SceneRecord dawn = makeScene("Dawn");
    dawn.SceneFile[0] = "dawn.jpg";
    dawn.SceneFile[1] = "theme.mid";
    dawn.OnLoadFlagEnabled = 1;
    dawn.OnLoadFlag = Score;
    dawn.OnLoadValue = 10;
    dawn.OnLoadAdds = 1;
    dawn.CondLoadEnabled = 1; // a fine score leads on to an epilogue, a scene not made yet
    dawn.CondLoadFlag = Score;
    dawn.CondLoadOperator = Greater;
    dawn.CondLoadValue = 100;
    dawn.CondLoadScene = 13;
    place(dawn, 1, 0, {"sunrise.gif"}); // Ambient
    all.push_back(dawn);

    return all;
}

std::vector<LocationRecord> locations() {
    auto at = [](std::string map, std::string sound, std::string compass = {}) {
        LocationRecord r;
        r.LocationFile1 = std::move(map);
        r.LocationFile2 = std::move(sound);
        r.LocationFile3 = std::move(compass);
        return r;
    };
    return {
        at("map_harbour.gif", "waves.wav", "compass.gif"),
        at("(None)", ""),
        at("map_tower.gif", "wind.wav"),
        at("(Del)", "", "ignored.gif"), // LocationFile3 counts in record 1 only
    };
}

std::vector<InventoryItemRecord> items() {
    auto item = [](std::string icon, std::string picture, Integer sets, Integer flag, Integer value, Integer adds) {
        InventoryItemRecord r;
        r.ItemFile[0] = std::move(icon);
        r.ItemFile[2] = std::move(picture);
        r.ExamineSetsFlag = sets;
        r.ExamineFlag = flag;
        r.ExamineValue = value;
        r.ExamineAdds = adds;
        return r;
    };
    std::vector<InventoryItemRecord> all = {
        item("oilcan.gif", "", 1, HasOil, 1, 0),
        item("key.gif", "", 1, Score, 5, 1),
        item("logbook.gif", "logbook.gif", 1, ReadLog, 1, 0),
        item("fuse.gif", "", 0, FuseFitted, 1, 0),
        item(" rope.gif", "", 1, HasRope, 1, 0), // a stray blank the audit keeps
        item("fish.gif", "", 2, GullFed, 1, 0),  // 2 is not "on"
    };
    all[3].ItemFile[4] = "clink.wav";
    return all;
}

std::vector<CueCardRecord> cueCards() {
    CueCardRecord fisherman;
    fisherman.ChoiceSetsFlag = {1, 1, 0, 0, 0};
    fisherman.ChoiceFlag = {MetFisherman, TalkStep, 0, 0, 0};
    fisherman.ChoiceValue = {1, 1, 0, 0, 0};
    fisherman.ChoiceAdds = {0, 1, 0, 0, 0};
    fisherman.ChoiceFile = {"fisher1.wav", "", "", "", ""};

    CueCardRecord radioman;
    radioman.ChoiceSetsFlag = {1, 1, 1, 0, 0};
    radioman.ChoiceFlag = {RadioFixed, Score, TalkStep, 0, 0};
    radioman.ChoiceValue = {2, 15, -1, 0, 0};
    radioman.ChoiceAdds = {0, 1, 1, 0, 0};
    radioman.ChoiceFile = {"", "mayday.wav", "", "", ""};

    CueCardRecord seal;
    seal.ChoiceSetsFlag = {2, 0, 0, 0, 0};
    seal.ChoiceFlag = {GullFed, 0, 0, 0, 0};
    seal.ChoiceValue = {1, 0, 0, 0, 0};
    seal.ChoiceFile = {"seal.gif", "", "", "", ""};
    return {fisherman, radioman, seal};
}

PlayerSettingsRecord settings() {
    PlayerSettingsRecord s;
    s.ProjectName = "Lighthouse Keeper";
    s.ExecutableName = "keeper";
    s.ScoreEnabled = 1;
    s.ScoreFlag = Score;
    s.BuiltInImages = 1;
    s.SectionFiles[0] = {"splash.jpg", "cursor.gif", "", "", "", ""};
    s.SectionFiles[1] = {"theme.mid", "click.wav", "", "", "", "", "", "invbar.gif", "", ""};
    s.SectionFiles[2] = {"invbar.gif", "cursor.gif"};
    s.SectionFiles[3] = {"credits.jpg"};
    s.SectionFiles[4] = {""};
    return s;
}

constexpr int kSceneWidth = 160, kSceneHeight = 120;

std::string jpeg(const Raster& r) { return encodeJpeg(r, 70); }
std::string icon(IconShape shape, Rgb colour) { return encodeGif(paintIcon(shape, colour)); }

void addMedia(testing::ProjectBuilder& b) {
    const Rgb dusk{70, 80, 140}, evening{230, 150, 110}, day{110, 160, 220}, haze{200, 215, 230};
    const Rgb stormTop{50, 55, 65}, stormLow{110, 115, 125};
    const Rgb sea{40, 90, 130}, darkSea{25, 45, 70};
    auto& g = b.gfxFiles;
    g["harbour.jpg"] = jpeg(paintOutdoor({day, haze, sea, 55, true, false, true, 0}, kSceneWidth, kSceneHeight));
    g["towerbase.jpg"] = jpeg(paintOutdoor({dusk, evening, sea, 70, true, false, true, 30}, kSceneWidth, kSceneHeight));
    g["stairs.jpg"] = jpeg(paintIndoor({{200, 196, 180}, {90, 80, 70}, {120, 60, 40}, false, true}, kSceneWidth, kSceneHeight));
    g["watchroom.jpg"] = jpeg(paintIndoor({{150, 160, 150}, {80, 70, 60}, {60, 60, 70}, true, false}, kSceneWidth, kSceneHeight));
    g["lamproom.jpg"] = jpeg(paintOutdoor({stormTop, stormLow, darkSea, 75, true, true, false, 0}, kSceneWidth, kSceneHeight));
    g["cellar.jpg"] = jpeg(paintIndoor({{90, 85, 80}, {60, 55, 50}, {40, 35, 30}, false, true}, kSceneWidth, kSceneHeight));
    g["shore.jpg"] = jpeg(paintOutdoor({day, haze, sea, 45, false, false, true, 60}, kSceneWidth, kSceneHeight));
    g["dawn.jpg"] = jpeg(paintOutdoor({dusk, {250, 190, 120}, sea, 65, true, true, true, 0}, kSceneWidth, kSceneHeight));
    g["splash.jpg"] = jpeg(paintOutdoor({stormTop, evening, darkSea, 60, true, true, false, 20}, kSceneWidth, kSceneHeight));
    g["cliff.bmp"] = encodeBmp(paintOutdoor({stormTop, stormLow, darkSea, 50, false, false, false, 70}, 64, 48));
    g["cottage.bmp"] = encodeBmp(paintIndoor({{210, 190, 150}, {120, 80, 50}, {90, 50, 30}, true, false}, 64, 48));
    g["gallery.bmp"] = encodeBmp(paintOutdoor({stormTop, stormLow, darkSea, 60, false, true, false, 0}, 64, 48));

    g["gulls.gif"] = icon(IconShape::Diamond, {240, 240, 240});
    g["sign.gif"] = icon(IconShape::Box, {150, 110, 60});
    g["fisher.gif"] = icon(IconShape::Circle, {200, 160, 120});
    g["fish.gif"] = icon(IconShape::Bar, {120, 150, 170});
    g["gull.gif"] = icon(IconShape::Triangle, {250, 250, 250});
    g["rain.gif"] = icon(IconShape::Bar, {150, 170, 210});
    g["oilcan.gif"] = icon(IconShape::Box, {190, 60, 40});
    g["key.gif"] = icon(IconShape::Ring, {220, 180, 60});
    g["oldchair.gif"] = icon(IconShape::Box, {120, 80, 40});
    g["clock.gif"] = icon(IconShape::Circle, {230, 220, 190});
    g["door.gif"] = icon(IconShape::Box, {110, 70, 40});
    g["fusebox.gif"] = icon(IconShape::Box, {100, 110, 100});
    g["radio.gif"] = icon(IconShape::Box, {70, 70, 80});
    g["radioman.gif"] = icon(IconShape::Circle, {210, 170, 140});
    g["fuse.gif"] = icon(IconShape::Bar, {200, 200, 90});
    g["lamp.gif"] = icon(IconShape::Circle, {255, 230, 120});
    g["beam.gif"] = icon(IconShape::Triangle, {255, 240, 170});
    g["ship.gif"] = icon(IconShape::Triangle, {90, 60, 40});
    g["rope.gif"] = icon(IconShape::Ring, {190, 160, 110});
    g["lever.gif"] = icon(IconShape::Bar, {90, 90, 100});
    g["seal.gif"] = icon(IconShape::Circle, {110, 110, 120});
    g["sunrise.gif"] = icon(IconShape::Circle, {255, 190, 90});
    g["telescope.gif"] = icon(IconShape::Bar, {150, 120, 60});
    g["shell.gif"] = icon(IconShape::Ring, {240, 210, 200});
    g["map_harbour.gif"] = icon(IconShape::Box, {230, 215, 170});
    g["map_tower.gif"] = icon(IconShape::Diamond, {230, 215, 170});
    g["compass.gif"] = icon(IconShape::Ring, {180, 150, 70});
    g["cursor.gif"] = icon(IconShape::Triangle, {30, 30, 30});
    g["invbar.gif"] = icon(IconShape::Bar, {80, 60, 40});
    g["logbook.gif"] = icon(IconShape::Box, {60, 80, 120});
    // The game's built-in interface images (used because BuiltInImages is 1),
    // one of them in the letter case an old Windows copy left behind.
    g["bggame.jpg"] = jpeg(paintIndoor({{60, 70, 90}, {40, 45, 60}, {200, 180, 120}, false, false}, 64, 48));
    g["bgmenu.bmp"] = encodeBmp(paintIndoor({{60, 90, 70}, {40, 60, 45}, {200, 180, 120}, false, false}, 32, 24));
    g["BtnQuit.GIF"] = icon(IconShape::Box, {170, 50, 40});
    g["btnsave.gif"] = icon(IconShape::Box, {60, 130, 70});
    // Left-overs nothing names.
    g["oldmap.bmp"] = encodeBmp(paintOutdoor({day, haze, sea, 30, false, false, true, 40}, 32, 24));
    g["sketch.gif"] = icon(IconShape::Diamond, {120, 120, 120});
    g["notes.txt"] = "Lamp room: add the storm sound before release.\r\nAsk about the bottle puzzle.\r\n";

    auto& m = b.mmediaFiles;
    m["waves.wav"] = encodeWav(soundOfWaves(400), SoundRate);
    m["gulls.wav"] = encodeWav(soundOfGull(300), SoundRate);
    m["chime.wav"] = encodeWav(soundOfChime(350), SoundRate);
    m["splash.wav"] = encodeWav(soundOfSplash(250), SoundRate);
    m["theme.mid"] = encodeMidi(73, {{64, 96}, {67, 96}, {72, 192}, {71, 96}, {67, 96}, {64, 288}});
    m["fisher1.wav"] = encodeWav(soundOfGull(200), SoundRate);
    m["click.wav"] = encodeWav(soundOfBeep(60), SoundRate);
    m["clink.wav"] = encodeWav(soundOfChime(150), SoundRate);
    m["test.wav"] = encodeWav(soundOfBeep(150), SoundRate);
    m["theme_old.mid"] = encodeMidi(0, {{60, 96}, {64, 96}, {67, 192}});
}

} // namespace

testing::ProjectBuilder lighthouseKeeper() {
    testing::ProjectBuilder b;
    b.lock = 1907;
    b.projectFileName = "lighthouse.orv";
    b.settings = settings();
    b.scenes = scenes();
    b.locations = locations();
    b.items = items();
    b.cueCards = cueCards();
    addMedia(b);
    return b;
}

} // namespace orv
