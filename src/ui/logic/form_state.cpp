#include "ui/logic/form_state.h"

#include <array>
#include <stdexcept>

namespace pellion::ui {

namespace {

// Position of each family's first widget in the stacking order.
const std::array<std::size_t, kFamilyCount + 1>& FamilyOffsets() {
    static const auto offsets = [] {
        std::array<std::size_t, kFamilyCount + 1> o{};
        for (int f = 0; f < kFamilyCount; ++f) o[f + 1] = o[f] + FamilySize(static_cast<Family>(f));
        return o;
    }();
    return offsets;
}

std::size_t Slot(WidgetRef r) {
    const auto f = static_cast<std::size_t>(r.family);
    if (f >= static_cast<std::size_t>(kFamilyCount) || r.index < 0 || r.index >= FamilySize(r.family))
        throw std::out_of_range("no widget " + std::to_string(f) + "[" + std::to_string(r.index) + "]");
    return FamilyOffsets()[f] + static_cast<std::size_t>(r.index);
}

}  // namespace

FormState::FormState() : widgets_(DesignWidgets()) {}

WidgetState& FormState::operator[](WidgetRef r) { return widgets_[Slot(r)]; }

const WidgetState& FormState::operator[](WidgetRef r) const { return widgets_[Slot(r)]; }

TwipRect FormState::clientRect() const {
    return {0, 0, window.width - 2 * kFrameSideTwips, window.height - kFrameTopTwips - kFrameBottomTwips};
}

TwipRect FormState::absoluteRect(WidgetRef r) const {
    const WidgetState& w = (*this)[r];
    TwipRect rect = w.rect;
    if (w.parent) {
        const TwipRect p = absoluteRect(*w.parent);
        rect.left += p.left;
        rect.top += p.top;
    }
    return rect;
}

std::optional<TwipRect> FormState::clippedRect(const WidgetState& w) const {
    if (!w.visible) return std::nullopt;
    TwipRect area;
    if (w.parent) {
        auto parentArea = clippedRect((*this)[*w.parent]);
        if (!parentArea) return std::nullopt;
        area = *parentArea;
    } else {
        area = clientRect();
    }
    const TwipRect shown = absoluteRect(w.ref).intersected(area);
    if (shown.empty()) return std::nullopt;
    return shown;
}

bool FormState::coveredByLaterPanel(const WidgetState& w, const TwipRect& area) const {
    // Only the window's own panels are stacked over other widgets.
    for (std::size_t i = Slot(w.ref) + 1; i < widgets_.size(); ++i) {
        const WidgetState& other = widgets_[i];
        if (other.kind != Kind::Frame || other.parent != w.parent) continue;
        auto otherArea = clippedRect(other);
        if (otherArea && otherArea->contains(area)) return true;
    }
    return false;
}

std::optional<TwipRect> FormState::shownRect(WidgetRef r) const {
    const WidgetState& w = (*this)[r];
    auto area = clippedRect(w);
    if (!area) return std::nullopt;
    for (const WidgetState* c = &w; c; c = c->parent ? &(*this)[*c->parent] : nullptr) {
        if (coveredByLaterPanel(*c, *area)) return std::nullopt;
    }
    return area;
}

void FillCellCaptions(FormState& form, Family family, const std::vector<std::string>& titles) {
    for (int i = 0; i < FamilySize(family); ++i) {
        std::string caption;
        if (static_cast<std::size_t>(i) < titles.size()) {
            const std::string& t = titles[static_cast<std::size_t>(i)];
            caption = t.substr(0, t.find('\0'));
        }
        form[{family, i}].caption = std::move(caption);
    }
}

}  // namespace pellion::ui
