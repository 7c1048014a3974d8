// SPDX-License-Identifier: MIT
#include "show_transition.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ShowRules {

namespace {

constexpr std::array<std::string_view, TransitionKinds> Names = {
    "cut",       "fade",       "wipe-left", "wipe-right", "wipe-up", "wipe-down",
    "push-left", "push-right", "push-up",   "push-down",  "zoom",    "random"};

// The kinds a random change chooses among: every one that moves or fades.
constexpr TransitionKind FirstChosen = TransitionKind::Fade;
constexpr TransitionKind LastChosen = TransitionKind::Zoom;

// The new picture's size as a zoom starts.
constexpr double ZoomFrom = 0.5;

// A slide's place in the show spread over all numbers, the same on every machine.
std::uint32_t mixed(int index) {
    std::uint32_t h = std::uint32_t(index) * 2654435761u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return h;
}

int offset(double progress, int length) {
    return int(std::lround(progress * length));
}

} // namespace

std::string_view transitionName(TransitionKind kind) {
    return Names[std::size_t(kind)];
}

TransitionKind transitionKindOf(std::string_view name) {
    const auto found = std::find(Names.begin(), Names.end(), name);
    return found == Names.end() ? TransitionKind::Fade : TransitionKind(found - Names.begin());
}

TransitionKind chosenKind(TransitionKind stored, int index, TransitionKind previous) {
    if (stored != TransitionKind::Random)
        return stored;
    const int first = int(FirstChosen), count = int(LastChosen) - first + 1;
    const bool avoid = previous >= FirstChosen && previous <= LastChosen;
    int pick = first + int(mixed(index) % std::uint32_t(avoid ? count - 1 : count));
    if (avoid && pick >= int(previous))
        ++pick;
    return TransitionKind(pick);
}

std::int64_t transitionMs(const Transition& stored, std::int64_t ownBeforeMs, std::int64_t ownMs) {
    if (stored.kind == TransitionKind::Cut)
        return 0;
    const std::int64_t ms = std::clamp(stored.ms, MinTransitionMs, MaxTransitionMs);
    return std::max<std::int64_t>(0, std::min({ms, ownBeforeMs, ownMs}));
}

std::vector<SlideChange> slideChanges(const std::vector<std::optional<Transition>>& stored,
                                      const std::vector<std::int64_t>& ownMs, std::int64_t fadeMs) {
    std::vector<SlideChange> changes(stored.size());
    TransitionKind previous = TransitionKind::Cut;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        SlideChange& change = changes[i];
        const std::int64_t own = ownMs[i], before = ownMs[i == 0 ? stored.size() - 1 : i - 1];
        if (stored[i]) {
            change.kind = chosenKind(stored[i]->kind, int(i), previous);
            change.ms = transitionMs({change.kind, stored[i]->ms}, before, own);
        } else {
            change.ms = std::clamp<std::int64_t>(fadeMs, 0, own);
            change.kind = change.ms > 0 ? TransitionKind::Fade : TransitionKind::Cut;
        }
        previous = change.kind;
    }
    return changes;
}

TransitionLook transitionAt(TransitionKind kind, double progress, int width, int height) {
    const double p = std::clamp(progress, 0.0, 1.0);
    const int dx = offset(p, width), dy = offset(p, height);
    TransitionLook look;
    look.newClip = {0, 0, width, height};
    switch (kind) {
    case TransitionKind::Fade:
        look.newOpacity = p;
        break;
    case TransitionKind::WipeLeft:
        look.newClip = {width - dx, 0, dx, height};
        break;
    case TransitionKind::WipeRight:
        look.newClip = {0, 0, dx, height};
        break;
    case TransitionKind::WipeUp:
        look.newClip = {0, height - dy, width, dy};
        break;
    case TransitionKind::WipeDown:
        look.newClip = {0, 0, width, dy};
        break;
    case TransitionKind::PushLeft:
        look.oldX = -dx;
        look.newX = width - dx;
        break;
    case TransitionKind::PushRight:
        look.oldX = dx;
        look.newX = dx - width;
        break;
    case TransitionKind::PushUp:
        look.oldY = -dy;
        look.newY = height - dy;
        break;
    case TransitionKind::PushDown:
        look.oldY = dy;
        look.newY = dy - height;
        break;
    case TransitionKind::Zoom:
        look.newScale = ZoomFrom + (1 - ZoomFrom) * p;
        look.newOpacity = p;
        break;
    case TransitionKind::Cut:
    case TransitionKind::Random:
        break;
    }
    return look;
}

} // namespace ShowRules
