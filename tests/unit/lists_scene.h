#pragma once
// One scene of lists on disk for the drag-and-drop and interrupted-change
// tests. Every clip file holds its title as its bytes: Clipboard Clips
// "clip N"; group 0 "Work" shown with "alpha" (Next Click, green) and
// "beta"; group 5 "Other" (green) on disk with "gamma" in slot 2 and "delta"
// in slot 95; Transfer Slot 0 "zero" (Bookmark, red), slot 1 a reference to
// group 5; bulk clips "bulk N".
#include <filesystem>
#include <map>

#include "app/settings_file.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "ui/logic/drop_matrix.h"
#include "unit/store_fixture.h"

namespace pellion::test {

constexpr Colour kGreen = 0x00FF00;

struct Scene {
    // In a temporary folder of its own unless given one.
    explicit Scene(const std::string& folder = "", int clips = 3) : root(folder.empty() ? own.path() : folder) {
        state.dataFolder = root;
        UseLibrary(state, 1);
        StartupLoader(state, {});
        auto& l = state.lists;
        for (int i = 0; i < clips; ++i) {
            l.clipboardClips.titles[i] = "clip " + std::to_string(i);
            file("clip." + std::to_string(i), l.clipboardClips.titles[i]);
        }
        l.clipboardClips.count = clips;
        EXPECT_TRUE(SaveClipboardClips(state));
        l.groupNames.titles[0] = "Work";
        l.groupNames.titles[5] = "Other";
        l.groupNames.colours[5] = kGreen;
        EXPECT_TRUE(SaveGroupNames(state) && SaveGroupColours(state));
        file("lib1/group0.0", "alpha");
        file("lib1/group0.1", "beta");
        l.groupClips.titles[0] = "alpha";
        l.groupClips.modes[0] = kModeNextClick;
        l.groupClips.colours[0] = kGreen;
        l.groupClips.titles[1] = "beta";
        EXPECT_TRUE(SaveCurrentGroup(state));
        EXPECT_TRUE(EnsureGroupFiles(path("lib1/"), 5));
        for (auto [slot, title] : {std::pair{2, "gamma"}, {95, "delta"}}) {
            file("lib1/group5." + std::to_string(slot), title);
            EXPECT_TRUE(WriteTitleAt(path("lib1/group5.dat"), slot, title));
        }
        EXPECT_TRUE(WriteModeAt(path("lib1/group5.mod"), 2, 4));
        file("trans.0", "zero");
        l.transferSlots.titles[0] = "zero";
        l.transferSlots.modes[0] = kModeBookmark;
        l.transferSlots.colours[0] = kRed;
        EXPECT_TRUE(StoreGroupReference(state, 1, 5));
        bulk(2);
    }

    std::string path(const std::string& rel) const { return root + rel; }
    void file(const std::string& rel, const std::string& content) {
        std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
        EXPECT_TRUE(files::writeWhole(path(rel), content));
    }
    std::string text(const std::string& rel) const {
        const Bytes b = files::readAll(path(rel)).value_or(Bytes{});
        return std::string(b.begin(), b.end());
    }
    void bulk(int count) {
        for (int i = 0; i < count; ++i) {
            file("bulk." + std::to_string(i), "bulk " + std::to_string(i));
            EXPECT_TRUE(WriteTitleAt(path("bulk.dat"), i, "bulk " + std::to_string(i)));
        }
        state.settings.BulkCount = std::int16_t(count);
        EXPECT_TRUE(SaveSettings(state) && LoadBulkCache(state));
    }
    ui::DropResult dragAndDrop(ui::DragItem item, ui::MouseButton button, ui::DropOn on, int overGroup = -1) {
        return DragAndDrop(state, item, button, on, overGroup);
    }
    // A drag from (500, 500) past the threshold, over a group name when
    // asked, and its drop.
    static ui::DropResult DragAndDrop(ProgramState& ps, ui::DragItem item, ui::MouseButton button, ui::DropOn on,
                                      int overGroup = -1) {
        ui::ArmDrag(ps, item, button, 500, 500);
        EXPECT_FALSE(ui::DragMouseMove(ps, 519, 481));
        EXPECT_TRUE(ui::DragMouseMove(ps, 500, 520));
        if (overGroup >= 0) {
            EXPECT_EQ(ui::GroupToSelectOnDragOver(ps, overGroup), overGroup);
            ps.settings.CurrentGroup = std::int16_t(overGroup);
            LoadCurrentGroup(ps);
        }
        return ui::Drop(ps, on);
    }
    // Every file below the data folder, by its path inside it.
    std::map<std::string, Bytes> snapshot() const {
        std::map<std::string, Bytes> out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            if (e.is_regular_file()) out[e.path().string().substr(root.size())] = *files::readAll(e.path());
        return out;
    }

    bool watches(int letter) const { return fake.hooks->watched.count(0x40041 + letter) > 0; }

    TempFolder own;
    std::string root;
    platform::fake::FakePlatform fake;
    ProgramState state{fake.platform};
};

}  // namespace pellion::test
