#include "ui/logic/edge_strip.h"

#include <algorithm>
#include <cmath>

#include "app/program_state.h"
#include "ui/logic/main_form.h"

namespace pellion::ui {

namespace {

// Twips from a corner along the top and bottom edges, and along the sides,
// where touching the edge does nothing.
constexpr int kCornerAlongTop = 1600, kCornerAlongSide = 800;

// Halves go to the even neighbour.
int Whole(double v) { return static_cast<int>(std::nearbyint(v)); }

int Centred(int pointerTwips, int half, int size, int screenSize) {
    return std::max(0, std::min(pointerTwips - half, screenSize - size));
}

}  // namespace

std::optional<StripPlace> EdgeHit(platform::Point p, const EdgeScreen& screen, const SettingsRecord& s, int width,
                                  int height) {
    const double tpp = screen.twipsPerPixel > 0 ? screen.twipsPerPixel : 15;
    const int lastColumn = Whole(screen.width / tpp) - 1, lastRow = Whole(screen.height / tpp) - 1;
    const int x = Whole(tpp * p.x), y = Whole(tpp * p.y);
    const int halfWidth = Whole(width / 2.0), halfHeight = Whole(height / 2.0);
    const bool alongTop = kCornerAlongTop < x && x < screen.width - kCornerAlongTop;
    const bool alongSide = kCornerAlongSide < y && y < screen.height - kCornerAlongSide;
    std::optional<StripPlace> hit;
    if (p.y == 0 && s.DockTop == 1 && alongTop)
        hit = StripPlace{Centred(x, halfWidth, width, screen.width), 0, {}};
    else if (p.y == lastRow && s.DockBottom == 1 && alongTop)
        hit = StripPlace{Centred(x, halfWidth, width, screen.width), screen.height - height, {}};
    else if (p.x == 0 && s.DockLeft == 1 && alongSide)
        hit = StripPlace{0, Centred(y, halfHeight, height, screen.height), {}};
    else if (p.x == lastColumn && s.DockRight == 1 && alongSide)
        hit = StripPlace{screen.width - width, Centred(y, halfHeight, height, screen.height), {}};
    if (hit) hit->centre = {Whole((width / 2.0 + hit->left) / tpp), Whole((height / 2.0 + hit->top) / tpp)};
    return hit;
}

bool PointerOffStrip(platform::Point p, platform::Point c, int width, int height, double tpp) {
    if (tpp <= 0) tpp = 15;
    const int halfWidth = Whole(width / tpp / 2), halfHeight = Whole(height / tpp / 2);
    // The far sides are exclusive: the strip's pixels are those from the
    // centre back by half and forward by less than half, so one pixel off
    // the strip in any direction counts.
    return p.x >= c.x + halfWidth || p.x < c.x - halfWidth || p.y >= c.y + halfHeight || p.y < c.y - halfHeight;
}

void EdgeTimerTick(ProgramState& ps) {
    EdgeState& e = ps.edge;
    if (!e.watching) return;
    e.watching = false;  // each look disarms the watcher; a hit leaves it so
    auto* windows = ps.platform.windows.get();
    if (!windows) return;
    const SettingsRecord& s = ps.settings;
    if (s.DockTop != 1 && s.DockBottom != 1 && s.DockLeft != 1 && s.DockRight != 1) {
        e.watching = true;  // no edge to touch: the pointer need not be asked
        return;
    }
    const platform::Point screen = windows->screenSizeTwips();
    const auto hit =
        EdgeHit(windows->pointer(), {screen.x, screen.y, e.twipsPerPixel}, ps.settings, e.width, e.height);
    if (!hit) {
        e.watching = true;
        return;
    }
    e.place = *hit;
    e.shown = true;
    e.leaveWatching = true;
}

void EdgeOffTimerTick(ProgramState& ps) {
    EdgeState& e = ps.edge;
    if (!e.leaveWatching || !ps.platform.windows) return;
    if (PointerOffStrip(ps.platform.windows->pointer(), e.place.centre, e.width, e.height, e.twipsPerPixel))
        HideEdgeStrip(ps);
}

void HideEdgeStrip(ProgramState& ps) {
    ps.edge.shown = false;
    ps.edge.leaveWatching = false;
}

void EdgeStripClick(ProgramState& ps) {
    HideEdgeStrip(ps);
    BringUpWindow(ps);
}

}  // namespace pellion::ui
