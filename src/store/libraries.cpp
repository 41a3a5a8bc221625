#include "store/libraries.h"

#include <algorithm>
#include <filesystem>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

using files::Bytes;

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kAddressGroups[21] = {" A", " B", " C", " D", " E", " F", " G", " H", " I", " J", " K",
                                            " L", " M", " N", " O", " P - Q", " R", " S", " T", " U - V - W",
                                            " X - Y - Z"};
constexpr const char* kFixedNames[3] = {"Diary", "Address Book", "Launch Pad"};

bool validLibrary(int n) { return n >= 1 && n <= kLibraries; }

std::string libDat(const ProgramState& state) { return FileIn(state.dataFolder, "lib.dat"); }

// "Library 1", 25 blank records, "Diary", "Address Book".
Bytes firstLibraryNames() {
    Bytes out;
    field::putText(out, "Library 1", kLibraryNameBytes);
    for (int n = 2; n <= kUserLibraries; ++n) field::putText(out, "", kLibraryNameBytes);
    field::putText(out, kFixedNames[0], kLibraryNameBytes);
    field::putText(out, kFixedNames[1], kLibraryNameBytes);
    return out;
}

Bytes newGroupNames(int library) {
    std::array<std::string, kGroups> titles;
    titles[kHotKeyGroup] = "Hot Key Clips";
    if (library == kAddressBook) std::copy(std::begin(kAddressGroups), std::end(kAddressGroups), titles.begin());
    if (library == kDiary) std::copy(std::begin(kMonths), std::end(kMonths), titles.begin());
    Bytes out;
    for (const auto& t : titles) field::putText(out, t, kTitleBytes);
    return out;
}

HotKeyLabel labelFor(int library, int group, int n) {
    if (library == kDiary) {
        if (n < DaysInDiaryMonth(group)) return {std::to_string(n + 1), " Day of Month "};
        return {};
    }
    if (n < 26) return {std::string(1, char('A' + n)) + ".", " Type this letter to paste "};
    return {};
}

bool writeLastGroup(const std::string& folder, int group) {
    Bytes b;
    field::putI16(b, std::int16_t(group));
    return files::writeWhole(FileIn(folder, "last.grp"), b);
}

std::array<std::string, kUserLibraries> userNames(const Bytes& bytes) {
    std::array<std::string, kUserLibraries> names;
    for (int n = 0; n < kUserLibraries; ++n)
        names[n] = field::textAt(bytes, std::size_t(n) * kLibraryNameBytes, kLibraryNameBytes);
    return names;
}

// A missing or unreadable "last.grp" keeps the current group.
void readLastGroup(ProgramState& state) {
    auto bytes = files::readAll(FileIn(state.libraryFolder, "last.grp"));
    if (!bytes || bytes->size() < 2) return;
    const int g = field::i16At(*bytes, 0, 0);
    state.settings.CurrentGroup = std::int16_t(g >= 0 && g < kGroups ? g : 0);
}

}  // namespace

int DaysInDiaryMonth(int group) {
    if (group == 1) return 29;
    if (group == 3 || group == 5 || group == 8 || group == 10) return 30;
    return 31;
}

std::string LibraryFolderFor(const std::string& dataFolder, int library) {
    return FileIn(dataFolder, "lib" + std::to_string(validLibrary(library) ? library : 1)) + "/";
}

void UseLibrary(ProgramState& state, int library) {
    if (!validLibrary(library)) library = 1;
    state.settings.CurrentLibrary = std::int16_t(library);
    state.libraryFolder = LibraryFolderFor(state.dataFolder, library);
}

std::array<std::string, kLibraries> LoadLibraryNames(ProgramState& state) {
    const std::string path = libDat(state);
    if (files::size(path) <= 0) files::writeWhole(path, firstLibraryNames());
    const auto user = userNames(files::readAll(path).value_or(Bytes{}));
    std::array<std::string, kLibraries> names;
    std::copy(user.begin(), user.end(), names.begin());
    for (int n = 0; n < 3; ++n) names[kUserLibraries + n] = kFixedNames[n];
    return names;
}

std::string LibraryName(ProgramState& state, int library) {
    if (!validLibrary(library)) library = 1;
    const std::string name = LoadLibraryNames(state)[library - 1];
    return name.empty() ? "Library " + std::to_string(library) : name;
}

void ShowLibraryName(ProgramState& state) {
    state.lists.libraryName = LibraryName(state, state.settings.CurrentLibrary);
}

bool SaveLibraryNames(ProgramState& state, const std::array<std::string, kUserLibraries>& userNames) {
    Bytes out;
    for (const auto& name : userNames) field::putText(out, field::leftTrim(name), kLibraryNameBytes);
    for (const char* name : kFixedNames) field::putText(out, name, kLibraryNameBytes);
    return files::writeWhole(libDat(state), out);
}

bool PrepareGroupNames(ProgramState& state) {
    std::string folder = state.libraryFolder;
    if (!folder.empty() && folder.back() == '/') folder.pop_back();
    files::makeFolder(folder);
    auto& names = state.lists.groupNames;
    bool ok = true;

    const std::string titlesPath = FileIn(state.libraryFolder, "groups.dat");
    if (files::size(titlesPath) <= 0) {
        const Bytes fresh = newGroupNames(state.settings.CurrentLibrary);
        for (int g = 0; g < kGroups; ++g) names.titles[g] = field::textAt(fresh, std::size_t(g) * kTitleBytes, kTitleBytes);
        ok = files::writeWhole(titlesPath, fresh);
    } else if (auto bytes = files::readAll(titlesPath)) {
        for (int g = 0; g < kGroups; ++g) names.titles[g] = field::textAt(*bytes, std::size_t(g) * kTitleBytes, kTitleBytes);
    } else {
        ok = false;
    }

    // A new library's groups show the default colour its new file says.
    const std::string coloursPath = FileIn(state.libraryFolder, "groups.clr");
    if (files::size(coloursPath) <= 0) {
        names.colours.fill(0);
        ok = files::writeWhole(coloursPath, Bytes(kGroupColoursSize, 0)) && ok;
    } else if (auto bytes = files::readAll(coloursPath)) {
        for (int g = 0; g < kGroups; ++g) names.colours[g] = StoredColour(field::i32At(*bytes, std::size_t(g) * 4, 0));
    } else {
        ok = false;
    }
    return ok;
}

void FillHotKeyLabels(ProgramState& state) {
    for (int n = 0; n < kHotKeyLabels; ++n)
        state.lists.hotKeyLabels[n] = labelFor(state.settings.CurrentLibrary, state.settings.CurrentGroup, n);
}

void SetLetterLabels(ProgramState& state) {
    for (int n = 0; n < 26; ++n)
        state.lists.hotKeyLabels[n] = labelFor(state.settings.CurrentLibrary, state.settings.CurrentGroup, n);
}

bool SwitchLibrary(ProgramState& state, int library) {
    if (!validLibrary(library)) return false;
    if (state.libraryFolder.empty()) UseLibrary(state, state.settings.CurrentLibrary);
    const int old = state.settings.CurrentLibrary;
    auto& lists = state.lists;
    if (library == kLaunchPad && old != kLaunchPad) {
        Bytes last;
        field::putI16(last, std::int16_t(old));
        const std::string name = lists.libraryName.empty() ? LibraryName(state, old) : lists.libraryName;
        field::putText(last, name, kLibraryNameBytes);
        files::writeWhole(FileIn(state.dataFolder, "last.lib"), last);
    }
    lists.launchPadPressed = library == kLaunchPad;
    lists.highlightBar.reset();
    if (state.settings.CurrentGroup < 0 || state.settings.CurrentGroup >= kGroups) state.settings.CurrentGroup = 0;
    writeLastGroup(state.libraryFolder, state.settings.CurrentGroup);

    UseLibrary(state, library);
    readLastGroup(state);
    ComputeGroupStem(state);
    FillHotKeyLabels(state);
    bool ok = PrepareGroupNames(state);
    ok = LoadCurrentGroup(state) && ok;

    // The first switch brings a first-created "lib.dat" to all 29 records;
    // a file that cannot be read is left alone rather than blanked.
    LoadLibraryNames(state);
    auto names = files::readAll(libDat(state));
    if (names && names->size() < kLibraryNamesSize) ok = SaveLibraryNames(state, userNames(*names)) && ok;
    ShowLibraryName(state);
    return ok;
}

bool ToggleLaunchPad(ProgramState& state) {
    if (state.settings.CurrentLibrary != kLaunchPad) return SwitchLibrary(state, kLaunchPad);
    const Bytes last = files::readAll(FileIn(state.dataFolder, "last.lib")).value_or(Bytes{});
    const int back = field::i16At(last, 0, 1);
    const bool known = back >= 1 && back < kLaunchPad;
    const bool ok = SwitchLibrary(state, known ? back : 1);
    const std::string name = field::textAt(last, 2, kLibraryNameBytes);
    if (known && !name.empty()) state.lists.libraryName = name;
    return ok;
}

bool LibraryHoldsTitledClip(const std::string& libraryFolder) {
    for (int g = 0; g < kGroups; ++g) {
        const auto bytes = files::readAt(GroupTitlesPath(libraryFolder, g), 0, kGroupTitlesSize);
        if (bytes && std::any_of(bytes->begin(), bytes->end(), [](std::uint8_t b) { return b != ' ' && b != 0; }))
            return true;
    }
    return false;
}

bool MoveLibraryFolder(const std::string& dataFolder, int from, int to) {
    namespace fs = std::filesystem;
    if (from == to || !validLibrary(from) || to < 1 || to > kUserLibraries) return false;
    std::string target = LibraryFolderFor(dataFolder, to);
    if (LibraryHoldsTitledClip(target)) return false;
    target.pop_back();
    std::error_code ec;
    // Whatever the target held goes, links as links: nothing is followed.
    fs::remove_all(fs::path(target), ec);
    if (ec) return false;
    std::string source = LibraryFolderFor(dataFolder, from);
    source.pop_back();
    const std::string moved = dataFolder + "lib" + std::to_string(to);
    if (files::isFolder(source)) fs::rename(source, moved, ec);
    else files::makeFolder(moved);
    const bool ok = !ec;
    return files::makeFolder(dataFolder + "lib" + std::to_string(from)) && ok;
}

bool LoadAllLists(ProgramState& state) {
    if (state.libraryFolder.empty() || !validLibrary(state.settings.CurrentLibrary))
        UseLibrary(state, state.settings.CurrentLibrary);
    if (state.settings.CurrentGroup < 0 || state.settings.CurrentGroup >= kGroups) state.settings.CurrentGroup = 0;
    state.lists.launchPadPressed = state.settings.CurrentLibrary == kLaunchPad;
    FillHotKeyLabels(state);
    bool ok = PrepareGroupNames(state);
    ComputeGroupStem(state);
    ShowLibraryName(state);
    ok = LoadClipboardClips(state) && ok;
    ok = LoadTransferSlots(state) && ok;
    ok = LoadCurrentGroup(state) && ok;
    ok = LoadBulkCache(state) && ok;
    return ok;
}

}  // namespace pellion
