// Where the arrow and paging keys move the highlight bar. Up and Down walk
// one order: Clipboard Clips, the Group Clips column by column, the groups,
// and round again, skipping hidden cells and the Transfer Slots.
#include "app/program_state.h"
#include "ui/logic/keyboard.h"

namespace pellion::ui {

namespace {

constexpr int kColumnFirst[3] = {9, 41, 73};

int ColumnLast(bool large, int column) {
    static constexpr int kLarge[3] = {40, 72, 104}, kSmall[3] = {31, 63, 95};
    return large ? kLarge[column - 1] : kSmall[column - 1];
}

bool In(int p, int from, int to) { return p >= from && p <= to; }

int Reduced(const NavigationView& v, int key, int p) {
    const bool strip = v.layout == 1;
    switch (key) {
    case key::Left: return strip && p > 2 ? p - 3 : p;
    case key::Right: return strip && p < 6 ? p + 3 : p;
    case key::Up: return p > 0 ? p - 1 : 8;
    case key::Down: return p < 8 ? p + 1 : 0;
    default: return p;
    }
}

int PageUp(int p) {
    if (In(p, 1, 8)) return 0;
    if (In(p, 10, 40)) return 9;
    if (In(p, 42, 72)) return 41;
    if (In(p, 74, 104)) return 73;
    if (In(p, 114, 144)) return 113;
    return p;
}

// To the last visible cell of the list or column.
int PageDown(bool large, int p) {
    if (In(p, 0, 7)) return 8;
    if (In(p, 9, 39)) return large ? 40 : 31;
    if (In(p, 41, 71)) return large ? 72 : 63;
    if (In(p, 73, 103)) return large ? 104 : 95;
    if (In(p, 113, 143)) return large ? 144 : 135;
    return p;
}

int Left(bool large, int p) {
    if (In(p, 113, 144)) return large ? p - 40 : p - 72;  // to the last column, same row
    if (In(p, 41, 104)) return p - 32;
    if (In(p, 9, 17)) return p - 9;
    return p;
}

int Right(bool large, int p) {
    if (In(p, 0, 8)) return p + 9;
    if (In(p, 9, 40)) return p + 32;
    if (In(p, 41, 72)) return large ? p + 32 : p + 72;
    if (In(p, 73, 104)) return p + 40;
    return p;
}

int Up(const NavigationView& v, int p) {
    int n = p - 1;
    if (v.large) {
        if (p == 0) n = 144;
        if (p == 113) n = 104;
    } else {
        if (p == 0) n = 135;
        if (p == 41) n = 31;
        if (p == 113) n = 63;
    }
    const int c = v.columnView;
    if (c >= 1 && c <= 3 && n < kColumnFirst[c - 1]) n = ColumnLast(v.large, c);
    return n;
}

int Down(const NavigationView& v, int p) {
    int n = p + 1;
    if (v.large) {
        if (p == 144) n = 0;
        if (p == 104) n = 113;
    } else {
        if (p == 31) n = 41;
        if (p == 63) n = 113;
        if (p == 135) n = 0;
    }
    const int c = v.columnView;
    if (c >= 1 && c <= 3 && n > ColumnLast(v.large, c)) n = kColumnFirst[c - 1];
    return n;
}

}  // namespace

NavigationView NavigationViewOf(const ProgramState& ps) {
    const SettingsRecord& s = ps.settings;
    NavigationView v;
    v.layout = s.Layout;
    v.reduced = s.OnTop == 1 && (s.Layout == 1 || s.Layout == 2);
    v.large = s.SizeOption == 1;
    v.columnView = ps.mainForm.columnView;
    return v;
}

int NavigateTo(const NavigationView& v, int key, int p) {
    if (v.reduced) return Reduced(v, key, p);
    const bool column = v.columnView != 0;
    switch (key) {
    case key::PageUp: return PageUp(p);
    case key::PageDown: return PageDown(v.large, p);
    case key::End: return column ? p : v.large ? 144 : 135;
    case key::Home: return column ? p : 0;
    case key::Left: return column ? p : Left(v.large, p);
    case key::Right: return column ? p : Right(v.large, p);
    case key::Up: return Up(v, p);
    case key::Down: return Down(v, p);
    default: return p;
    }
}

}  // namespace pellion::ui
