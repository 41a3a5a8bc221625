// Drag and drop: one scene of lists, every source against every target, and
// the files and index entries after each drop.
#include "ui/logic/drop_matrix.h"

#include "paste/hot_keys.h"
#include "unit/lists_scene.h"

using namespace pellion;
using namespace pellion::test;
using ui::DragItem;
using ui::DragSource;
using ui::DropEffect;
using ui::DropOn;
using ui::DropTarget;
using ui::MouseButton;

namespace {

// An index entry: stem "lib1/group0" for a group's files, "trans", "bulk",
// "lib1/groups" for the group names. -1: not checked.
struct Entry {
    std::string stem;
    int slot;
    std::string title;
    int mode = -1;
    std::int64_t colour = -1;
};

struct Case {
    const char* name;
    DragItem item;
    MouseButton button;
    DropOn on;
    int overGroup;
    DropEffect effect;
    std::map<std::string, std::string> files = {};  // "" : gone
    std::vector<Entry> entries = {};
    int currentGroup = 0;
    int bulkCount = 2;
};

const DragItem kAlpha{DragSource::Alt, 0}, kTemp1{DragSource::Temp, 1}, kZero{DragSource::Trans, 0},
    kReference{DragSource::Trans, 1}, kOther{DragSource::Group, 5}, kCache{DragSource::Bulk, 0};
constexpr MouseButton L = MouseButton::Left, R = MouseButton::Right;
constexpr DropEffect kNone = DropEffect::Nothing, kDone = DropEffect::Done;
DropOn clip(int n) { return {DropTarget::GroupClip, n}; }
DropOn slot(int n) { return {DropTarget::TransferSlot, n}; }
DropOn name(int g) { return {DropTarget::GroupName, g}; }
const DropOn kTrash{DropTarget::Trash}, kBulkArea{DropTarget::BulkCacheArea}, kPasteArea{DropTarget::BulkPasteArea};

const std::vector<Case> kCases = {
    {"right button copies a group clip", kAlpha, R, clip(10), -1, kDone,
     {{"lib1/group0.10", "alpha"}, {"lib1/group0.0", "alpha"}},
     {{"lib1/group0", 10, "alpha", 1, kGreen}, {"lib1/group0", 0, "alpha", 1, kGreen}}},
    {"right button copies into another group", kAlpha, R, clip(3), 5, kDone,
     {{"lib1/group5.3", "alpha"}, {"lib1/group0.0", "alpha"}},
     {{"lib1/group5", 3, "alpha", 1, kGreen}, {"lib1/group0", 0, "alpha", 1}}, 5},
    {"left button moves into another group", kAlpha, L, clip(3), 5, kDone,
     {{"lib1/group5.3", "alpha"}, {"lib1/group0.0", ""}},
     {{"lib1/group5", 3, "alpha", 1, kGreen}, {"lib1/group0", 0, "", 3, 0}}, 5},
    {"left button moves within the group", kAlpha, L, clip(10), -1, kDone,
     {{"lib1/group0.10", "alpha"}, {"lib1/group0.0", ""}}, {{"lib1/group0", 0, "", 3, 0}}},
    {"occupied group clip refuses", kAlpha, L, clip(1), -1, kNone},
    {"a group clip onto itself", kAlpha, L, clip(0), -1, kNone},
    {"Clipboard Clip copied in, settings asked", kTemp1, L, clip(10), -1, DropEffect::OpenClipSettings,
     {{"lib1/group0.10", "clip 1"}, {"clip.1", "clip 1"}}, {{"lib1/group0", 10, "clip 1", 3, 0}}},
    {"an unnamed group gets a name", kTemp1, L, clip(0), 3, DropEffect::OpenClipSettings,
     {{"lib1/group3.0", "clip 1"}}, {{"lib1/groups", 3, "Right click to enter title"}}, 3},
    {"Clipboard Clip into a Transfer Slot", kTemp1, L, slot(2), -1, kDone, {{"trans.2", "clip 1"}},
     {{"trans", 2, "clip 1", 3, 0}}},
    {"Transfer Slot moved", kZero, L, slot(3), -1, kDone, {{"trans.3", "zero"}, {"trans.0", ""}},
     {{"trans", 3, "zero", 2, kRed}, {"trans", 0, "", 3, 0}}},
    {"Transfer Slot copied into a group", kZero, R, clip(10), -1, kDone,
     {{"lib1/group0.10", "zero"}, {"trans.0", "zero"}}, {{"lib1/group0", 10, "zero", 2, kRed}}},
    {"group reference into a group clip", kReference, L, clip(10), -1, kNone},
    {"Transfer Slot onto itself", kZero, L, slot(0), -1, kNone},
    {"occupied Transfer Slot refuses", kZero, L, slot(1), -1, kNone},
    {"group name onto a Transfer Slot", kOther, L, slot(4), -1, kDone, {}, {{"trans", 4, "Other"}}},
    {"group copied by the right button", kOther, R, name(7), -1, kDone,
     {{"lib1/group7.2", "gamma"}, {"lib1/group5.2", "gamma"}},
     {{"lib1/group7", 2, "gamma", 4}, {"lib1/groups", 7, "Other", -1, kGreen}, {"lib1/groups", 5, "Other"}}, 7},
    {"group moved by the left button", kOther, L, name(7), -1, kDone,
     {{"lib1/group7.2", "gamma"}, {"lib1/group5.2", ""}, {"lib1/group5.dat", ""}},
     {{"lib1/group7", 2, "gamma", 4}, {"lib1/groups", 7, "Other", -1, kGreen}, {"lib1/groups", 5, "", -1, 0}}, 7},
    {"Hot Key Clips never leave", {DragSource::Group, 22}, L, name(7), -1, kNone},
    {"named group refuses", kOther, L, name(0), -1, kNone},
    {"bulk cache into a group", kCache, L, name(7), -1, kDone,
     {{"lib1/group7.0", "bulk 0"}, {"lib1/group7.1", "bulk 1"}, {"bulk.0", ""}, {"bulk.dat", ""}},
     {{"lib1/group7", 1, "bulk 1", 3, 0}, {"lib1/groups", 7, "Bulk Captures"}}, 7, 0},
    {"group clip on the trash", kAlpha, L, kTrash, -1, kDone, {{"lib1/group0.0", ""}},
     {{"lib1/group0", 0, "", 3, 0}}},
    {"group reference on the trash", kReference, L, kTrash, -1, kDone, {}, {{"trans", 1, "", 3, 0}}},
    {"group on the trash", kOther, L, kTrash, -1, kDone, {{"lib1/group5.2", ""}, {"lib1/group5.dat", ""}},
     {{"lib1/groups", 5, "", -1, 0}}},
    {"bulk cache on the trash", kCache, L, kTrash, -1, kDone, {{"bulk.0", ""}, {"bulk.1", ""}, {"bulk.dat", ""}}, {},
     0, 0},
    {"Clipboard Clips are not trashed", kTemp1, L, kTrash, -1, kNone},
    {"Clipboard Clip into the cache", kTemp1, L, kBulkArea, -1, kDone, {{"bulk.2", "clip 1"}},
     {{"bulk", 2, "clip 1"}}, 0, 3},
    {"group into the cache", kOther, L, kBulkArea, -1, kDone, {{"bulk.2", "gamma"}, {"bulk.3", "delta"}},
     {{"bulk", 2, "gamma"}, {"bulk", 3, "delta"}}, 0, 4},
    {"cache on the bulk paste area", kCache, L, kPasteArea, -1, DropEffect::StartBulkPaste},
    {"a clip on the bulk paste area", kAlpha, L, kPasteArea, -1, kNone},
    {"a Clipboard Clip on a group name", kTemp1, L, name(7), -1, kNone},
    {"the cache on a group clip", kCache, L, clip(10), -1, kNone},
    {"the cache on its own area", kCache, L, kBulkArea, -1, kNone},
};

std::array<std::string, 3> indexFiles(const std::string& stem) {
    if (stem == "trans") return {"trans.dat", "trans.mod", "trans.clr"};
    if (stem == "bulk") return {"bulk.dat", "", ""};
    if (stem == "lib1/groups") return {"lib1/groups.dat", "", "lib1/groups.clr"};
    const auto cut = stem.rfind("group");
    const std::string colours = stem.substr(0, cut) + "colr" + stem.substr(cut + 5) + ".dat";
    return {stem + ".dat", stem + ".mod", colours};
}

}  // namespace

TEST(Drops, EverySourceAgainstEveryTarget) {
    const auto before = Scene().snapshot();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Scene s;
        const ui::DropResult result = s.dragAndDrop(c.item, c.button, c.on, c.overGroup);
        EXPECT_EQ(result.effect, c.effect);
        if (c.effect == kNone || c.effect == DropEffect::StartBulkPaste) {
            EXPECT_EQ(s.snapshot(), before);
        }
        for (const auto& [rel, content] : c.files) {
            if (content.empty())
                EXPECT_FALSE(files::exists(s.path(rel))) << rel;
            else
                EXPECT_EQ(s.text(rel), content) << rel;
        }
        for (const Entry& e : c.entries) {
            const auto paths = indexFiles(e.stem);
            EXPECT_EQ(ReadTitleAt(s.path(paths[0]), e.slot), e.title) << e.stem << " " << e.slot;
            if (e.mode >= 0) {
                EXPECT_EQ(ReadModeAt(s.path(paths[1]), e.slot), e.mode) << e.stem;
            }
            if (e.colour >= 0) {
                EXPECT_EQ(ReadColourAt(s.path(paths[2]), e.slot), e.colour) << e.stem;
            }
        }
        EXPECT_EQ(s.state.settings.CurrentGroup, c.currentGroup);
        EXPECT_EQ(s.state.settings.BulkCount, c.bulkCount);
        if (c.effect == DropEffect::OpenClipSettings) {
            EXPECT_EQ(result, (ui::DropResult{c.effect, c.on.index, c.currentGroup}));
        }
        EXPECT_FALSE(s.state.drag.active);
    }
}

TEST(Drops, HotKeyLetterWatchedWhileItsSlotHoldsAClip) {
    Scene s;
    // "alpha" copied into slot 4 of "Hot Key Clips": Alt+E pastes it.
    ASSERT_EQ(s.dragAndDrop(kAlpha, R, clip(4), 22).effect, kDone);
    EXPECT_TRUE(s.watches(4));
    EXPECT_EQ(ReadHotKeyTitles(s.state)[4], "alpha");
    // Moved out again by the left button: Alt+E stops.
    ASSERT_EQ(s.dragAndDrop({DragSource::Alt, 4}, L, clip(20), 0).effect, kDone);
    EXPECT_FALSE(s.watches(4));
    EXPECT_EQ(ReadHotKeyTitles(s.state)[4], "");
    EXPECT_EQ(s.text("lib1/group0.20"), "alpha");
}

TEST(Drops, GroupReferenceCopiesTheWholeGroupIntoAnotherLibrary) {
    Scene s;
    ASSERT_EQ(s.dragAndDrop(kOther, L, slot(4)).effect, kDone);
    ASSERT_TRUE(SwitchLibrary(s.state, 2));

    ASSERT_EQ(s.dragAndDrop({DragSource::Trans, 4}, L, name(3)).effect, kDone);
    EXPECT_EQ(s.text("lib2/group3.2"), "gamma");
    EXPECT_EQ(ReadTitleAt(s.path("lib2/group3.dat"), 2), "gamma");
    EXPECT_EQ(ReadTitleAt(s.path("lib2/groups.dat"), 3), "Other");
    EXPECT_EQ(s.state.settings.CurrentGroup, 3);
    // A copy: the slot keeps its reference and the source its clip.
    EXPECT_EQ(s.state.lists.transferSlots.states[4], 5);
    EXPECT_EQ(s.text("lib1/group5.2"), "gamma");
    // A Transfer Slot that holds a clip copies no group.
    EXPECT_EQ(s.dragAndDrop(kZero, R, name(4)).effect, kNone);
}

TEST(Drops, HotKeyClipsOnTheTrashLoseTheirClipsAndKeepTheirName) {
    Scene s;
    s.file("group22.0", "hot a");
    s.file("group22.1", "hot b");
    ASSERT_TRUE(WriteTitleAt(GroupTitlesPath(s.root, 22), 0, "hot a"));
    ASSERT_TRUE(WriteTitleAt(GroupTitlesPath(s.root, 22), 1, "hot b"));
    HotKeysOn(s.state);
    ASSERT_TRUE(s.watches(0) && s.watches(1));

    ASSERT_EQ(s.dragAndDrop({DragSource::Group, 22}, L, kTrash).effect, kDone);
    EXPECT_FALSE(files::exists(s.path("group22.0")) || files::exists(s.path("group22.1")));
    EXPECT_FALSE(s.watches(0) || s.watches(1));
    EXPECT_EQ(ReadHotKeyTitles(s.state)[0], "");
    EXPECT_EQ(ReadTitleAt(s.path("lib1/groups.dat"), 22), "Hot Key Clips");
}

TEST(Drops, AGroupFillsTheCacheUntilItsCountHasPassed95) {
    Scene s;
    s.bulk(90);
    for (int n = 0; n < 40; ++n) {
        s.file("lib1/group5." + std::to_string(n), "g" + std::to_string(n));
        ASSERT_TRUE(WriteTitleAt(s.path("lib1/group5.dat"), n, "g" + std::to_string(n)));
    }
    ASSERT_EQ(s.dragAndDrop(kOther, L, kBulkArea).effect, kDone);
    EXPECT_EQ(s.state.settings.BulkCount, 96);
    EXPECT_EQ(s.text("bulk.95"), "g5");
    EXPECT_EQ(ReadTitleAt(s.path("bulk.dat"), 95), "g5");
    EXPECT_FALSE(files::exists(s.path("bulk.96")));
    EXPECT_EQ(files::size(s.path("bulk.dat")), 96 * 50);
    // A full cache takes no single clip either.
    EXPECT_EQ(s.dragAndDrop(kTemp1, L, kBulkArea).effect, kNone);
}

TEST(Drops, ADragStartsPastTheThresholdWithItsTargetsAndMoveOrCopy) {
    for (auto [dx, dy, starts] : {std::tuple{19, -19, false}, {20, 0, true}, {0, -20, true}, {-25, 3, true}})
        EXPECT_EQ(ui::DragThresholdReached(100, 100, 100 + dx, 100 + dy), starts) << dx << "," << dy;

    Scene s;
    auto& form = s.state.mainForm.form;
    auto shown = [&](ui::Family f, int i = 0) { return form[{f, i}].visible; };
    ui::ArmDrag(s.state, {DragSource::Alt, 50}, L, 0, 0);  // an empty cell
    EXPECT_FALSE(s.state.drag.armed);
    EXPECT_FALSE(ui::DragMouseMove(s.state, 0, 40));

    ui::ArmDrag(s.state, kTemp1, L, 0, 0);
    auto temp = ui::DragMouseMove(s.state, 0, 40);
    ASSERT_TRUE(temp);
    EXPECT_TRUE(temp->copy);  // Clipboard Clips are always copied
    EXPECT_TRUE(shown(ui::Family::BulkDrop, 0) && shown(ui::Family::BulkDropPicture));
    EXPECT_FALSE(shown(ui::Family::TrashLabel, 0) || shown(ui::Family::BulkPaste));
    EXPECT_EQ(ui::GroupToSelectOnDragOver(s.state, 5), 5);
    EXPECT_EQ(ui::GroupToSelectOnDragOver(s.state, 0), std::nullopt);  // already shown

    ui::ArmDrag(s.state, kAlpha, L, 0, 0);
    EXPECT_FALSE(ui::DragMouseMove(s.state, 0, 40)->copy);
    ui::ArmDrag(s.state, kAlpha, MouseButton::Middle, 0, 0);
    EXPECT_TRUE(ui::DragMouseMove(s.state, 0, 40)->copy);
    EXPECT_TRUE(shown(ui::Family::TrashLabel, 7));

    ui::ArmDrag(s.state, kCache, L, 0, 0);
    EXPECT_TRUE(ui::DragMouseMove(s.state, 0, 40));
    EXPECT_TRUE(shown(ui::Family::BulkPaste) && shown(ui::Family::BulkPastelabel, 1) && shown(ui::Family::TrashLabel, 0));
    EXPECT_FALSE(shown(ui::Family::BulkDrop, 0));
    EXPECT_EQ(ui::GroupToSelectOnDragOver(s.state, 5), std::nullopt);  // the cache opens no group

    // Without a drag a move hides the targets and the highlight follows.
    ui::CancelDrag(s.state);
    s.state.settings.StickyOption = 1;
    ui::DragMouseMove(s.state, 0, 0, 42);
    EXPECT_FALSE(shown(ui::Family::TrashLabel, 0) || shown(ui::Family::BulkPaste));
    EXPECT_EQ(s.state.mainForm.highlight, 42);
    EXPECT_EQ(ui::Drop(s.state, clip(10)).effect, kNone);  // no drag under way
}
