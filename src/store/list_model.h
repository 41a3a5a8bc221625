#pragma once
// The in-memory lists that the main window shows: Clipboard Clips, Transfer
// Slots, Group Names, the clips of the loaded group, the bulk cache, the hot
// key labels and the library label. No widget lives here; the window draws
// from this model and calls the store operations to change it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/colours.h"

namespace pellion {

inline constexpr int kClipSlots = 9;
inline constexpr int kTransferSlots = 8;
inline constexpr int kGroups = 32;
inline constexpr int kGroupSlots = 96;
inline constexpr int kBulkSlots = 96;
inline constexpr int kHotKeyLabels = 32;
inline constexpr int kHotKeyGroup = 22;  // "Hot Key Clips", shared by all libraries
inline constexpr int kTitleBytes = 50;

// Paste-mode code of a single clip or Transfer Slot (".mod" files).
inline constexpr std::uint8_t kModeNormal = 0;
inline constexpr std::uint8_t kModeNextClick = 1;
inline constexpr std::uint8_t kModeBookmark = 2;
inline constexpr std::uint8_t kModeGroupSetting = 3;
inline constexpr std::uint8_t kModeFormFilling = 4;

// Transfer Slot state: a clip in its own file; 0..31 is a group reference.
inline constexpr std::int16_t kSlotHoldsClip = -1;

inline constexpr Colour kLaunchPadPressedColour = kRed;

enum class ListKind { ClipboardClips, TransferSlots, GroupNames, GroupClips, Bulk };

// Colours below are each cell's own stored value: 0 means the list's default
// colour. The highlight never changes them, so a list saved while a cell is
// highlighted stores the cell's own colour.
struct ClipboardClipsList {
    std::array<std::string, kClipSlots> titles;  // slot 0 the oldest
    int count = 0;                               // ClipCount, 0..9
};

struct TransferSlotsList {
    std::array<std::string, kTransferSlots> titles;
    std::array<std::int16_t, kTransferSlots> states{-1, -1, -1, -1, -1, -1, -1, -1};
    std::array<std::string, kTransferSlots> referenceFolders;  // in memory only
    std::array<std::uint8_t, kTransferSlots> modes{3, 3, 3, 3, 3, 3, 3, 3};
    std::array<Colour, kTransferSlots> colours{};
};

struct GroupNamesList {
    std::array<std::string, kGroups> titles;
    std::array<Colour, kGroups> colours{};
};

// The clips of one group only: the one loaded by LoadCurrentGroup.
struct GroupClipsList {
    int group = -1;       // -1 until a group is loaded
    std::string folder;   // folder its files were read from
    std::array<std::string, kGroupSlots> titles;
    std::array<std::uint8_t, kGroupSlots> modes;
    std::array<Colour, kGroupSlots> colours{};
    GroupClipsList() { modes.fill(kModeGroupSetting); }
};

struct HotKeyLabel {
    std::string caption;
    std::string toolTip;
};

struct CellRef {
    ListKind list;
    int index;
};

struct ListModel {
    ClipboardClipsList clipboardClips;
    TransferSlotsList transferSlots;
    GroupNamesList groupNames;
    GroupClipsList groupClips;
    std::vector<std::string> bulkTitles;  // BulkCount entries once loaded
    std::array<HotKeyLabel, kHotKeyLabels> hotKeyLabels;
    std::string libraryName;              // the library label's caption
    bool launchPadPressed = false;
    std::string groupStem;                // folder + "group" + G + "."
    std::optional<CellRef> highlightBar;  // the cell under the highlight bar
};

// What one cell shows: its background and text colour.
struct CellLook {
    Colour background;
    Colour text;
};

struct ListLook {
    bool bold = false;
    std::array<CellLook, kClipSlots> clipboardClips;
    std::array<CellLook, kTransferSlots> transferSlots;
    std::array<CellLook, kGroups> groupNames;
    std::array<CellLook, kGroupSlots> groupClips;
};

}  // namespace pellion
