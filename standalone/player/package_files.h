// SPDX-License-Identifier: MIT
// The show of an unpacked package read without any toolkit: the slide list "images.sld" and the
// image data "images.dat" of a folder, and where each slide's picture lies in that data. Plain
// C++, shared by the players of Linux and Windows packages. Members are unpacked under their stored,
// upper-cased names, while records keep a name as the show spelled it: files are found by the rule
// names are stored with (MemberNames::same), whatever their letter case. Paths are UTF-8.
#pragma once

#include "package_extras.h"
#include "show_clock.h"
#include "slide_list.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class PackageFiles {
  public:
    // The most slides a show holds.
    static constexpr int MaxSlides = 500;

    // Reads both files from `folder` (ending in a separator). False, with what is wrong in `error`,
    // when one is missing or unreadable, the slide list is damaged or it holds no slides.
    bool open(const std::string& folder, std::string& error);

    const std::vector<TSlideRecord>& slides() const { return list_.records; }
    const PlayerOptions& options() const { return options_; }
    // The show's data beyond the records; nothing for a package without it or with a damaged one.
    const std::optional<PackageExtras::Extras>& extras() const { return extras_; }
    // Slide `index`'s own time in milliseconds, to the tenth of a second where the show gives one.
    int timeMs(int index) const;
    const SlideList::DataRange& range(int index) const { return ranges_[std::size_t(index)]; }
    // The slide's picture data; empty for a blank slide.
    std::string_view pictureData(int index) const;
    // Slide `index` is a title slide: a slide without a picture the show's data marks as one.
    bool isTitle(int index) const;
    // The slide whose picture a title slide's blurred fill is made of; -1 for none.
    int titleBackdrop(int index) const;
    // The line a player writes with --report when slide `index` is on screen: where its data lies, the
    // picture's size, which decoder made it, its time, hold, sound, font and caption.
    std::string reportLine(int index, int width, int height, bool byRuntime, const std::string& audio) const;

    // Milliseconds the slides after `index` stay on screen by `clock`, each held for its sound (found
    // in the working folder) where it asks.
    int timeAfter(int index, const ShowClock& clock) const;
    // Milliseconds the slides before `index` stay on screen by `clock`, held alike: where the show
    // stands when slide `index` comes.
    int timeBefore(int index, const ShowClock& clock) const;

  private:
    // Milliseconds slide `index` stays on screen by `clock`.
    int heldTime(int index, const ShowClock& clock) const;

    SlideList list_;
    PlayerOptions options_;
    std::optional<PackageExtras::Extras> extras_;
    std::string data_;
    std::vector<SlideList::DataRange> ranges_;
};

// A record's text as stored: UTF-8, or Windows-1252 where the bytes are no UTF-8. `text` is
// returned in UTF-8 either way.
std::string RecordText(std::string_view stored);

// The path of the file of `folder` (empty or ending in a separator) stored as `name` is, in any letter
// case, as the folder spells it (`name` itself where it is there); empty when there is none, or when
// `name` is no plain file name.
std::string FolderFile(const std::string& folder, std::string_view name);

// The file at `path` opened for reading, or null; on Windows through its UTF-16 name.
std::FILE* OpenFile(const std::string& path);
// Reads at most `limit` bytes of the file at `path` into `bytes`; false with the system's reason.
bool ReadFileBytes(const std::string& path, std::size_t limit, std::string& bytes, std::string& why);
