// SPDX-License-Identifier: MIT
// The show's data beyond the slide records in a package, "images.vrx": the extension block as the
// show file holds it (the 4 bytes "VRSX", a 32-bit little-endian length, UTF-8 JSON), its music
// entries naming members of the package, its slides naming the members of their captions. Read without any
// toolkit by a reader of the JSON the export writes, shared by the players of Linux and Windows packages. A
// damaged block is no block: the show plays as a show of records alone.
#pragma once

#include "frame_look.h"
#include "show_transition.h"
#include "slide_motion.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace PackageExtras {

using Frame = ShowRules::Frame;
using Motion = ShowRules::Motion;

struct Extras {
    std::vector<std::string> music;             // the music's members, one after another
    int fadeMs = 2000;                          // the music's fade-out at the show's end
    double musicLevel = 1.0;                    // the show's level for its music, 0 to 1
    std::vector<std::optional<Motion>> motions; // one for each slide; empty for none
    std::vector<std::string> captions;          // each slide's caption member; empty for none
    std::vector<std::int64_t> times;            // each slide's finer time ("ms"); -1 for none
    // The change into each slide as stored, its own or the show's; empty for none.
    std::vector<std::optional<ShowRules::Transition>> transitions;
    std::vector<ShowRules::Look> looks; // each slide's fill and caption place
    std::vector<bool> titles;           // each slide's title mark (of a blank slide: a title)
};

// The block's data for a show of `count` slides; nothing when the bytes hold no sound block.
std::optional<Extras> Read(std::string_view block, int count);
// The block of the package in `folder` (empty or ending in a separator); nothing when it has none
// or a damaged one.
std::optional<Extras> Load(const std::string& folder, int count);

} // namespace PackageExtras
