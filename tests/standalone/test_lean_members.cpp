// SPDX-License-Identifier: MIT
// The Windows head's own member reader, run here: packages packed by the archive engine read back
// byte for byte, stored and compressed members alike, and damaged packages refused with a reason
// before anything of theirs is trusted.

#include "head_test_support.h"
#include "lean_members.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

using namespace head_test;
using verasco::head::ExpandLeanMember;
using verasco::head::LeanMember;
using verasco::head::LeanRead;
using verasco::head::LeanSink;
using verasco::head::ReadLeanMember;
using verasco::head::RepeatsAName;

namespace {

const uint64_t HeadSize = ReadFile(VERASCO_BINARY_DIR "/app/verasco1.dat").size();

struct Listing {
    std::vector<std::pair<std::string, std::string>> members; // name, expanded bytes
    std::string problem;                                      // empty when all read back
};

// Reads every member of the package after the head and expands it into `folder`.
Listing ReadBack(const std::string& package, const std::string& folder) {
    Listing listing;
    std::FILE* file = std::fopen(package.c_str(), "rb");
    const uint64_t size = ReadFile(package).size();
    std::vector<LeanMember> read;
    LeanMember member;
    const char* why = "";
    const auto write = [](void* to, const unsigned char* bytes, size_t n) {
        return std::fwrite(bytes, 1, n, static_cast<std::FILE*>(to)) == n;
    };
    for (uint64_t at = HeadSize;; at = member.next) {
        const LeanRead result = ReadLeanMember(file, at, size, member, why);
        if (result != LeanRead::Member) {
            listing.problem = result == LeanRead::End ? "" : why;
            break;
        }
        if (RepeatsAName(read.data(), int(read.size()), member)) {
            listing.problem = std::string("two members are named ") + member.name;
            break;
        }
        read.push_back(member);
        const std::string target = folder + "/" + member.name;
        std::FILE* out = std::fopen(target.c_str(), "wb");
        const bool ok = ExpandLeanMember(file, member, LeanSink{write, out}, why);
        std::fclose(out);
        if (!ok) {
            listing.problem = why;
            break;
        }
        listing.members.emplace_back(member.name, ReadFile(target));
    }
    std::fclose(file);
    return listing;
}

std::string Noise(std::size_t n) {
    std::mt19937 random(7);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = char(random());
    return bytes;
}

std::string Text(std::size_t n) {
    std::string text;
    for (int i = 0; text.size() < n; ++i)
        text += "slide " + std::to_string(i % 97) + " of the show, caption " +
                std::to_string(i * 7919 % 1000) + "\n";
    return text.substr(0, n);
}

TEST(LeanMembers, ReadBackWhatTheArchiveEnginePackedByteForByte) {
    ScratchFolder dir;
    const std::vector<std::pair<std::string, std::string>> files = {
        {"IMAGES.DAT", Noise(300000)}, // incompressible: stored
        {"IMAGES.SLD", Text(200000)},  // many blocks, long matches across the window
        {"ZEROS.BIN", std::string(100000, '\0')},
        {"ONE.WAV", "R"},
        {"EMPTY.WAV", ""},
    };
    MakePackage(dir / "show", files);
    ScratchFolder out;
    const Listing listing = ReadBack(dir / "show", out.path);
    EXPECT_EQ(listing.problem, "");
    ASSERT_EQ(listing.members.size(), files.size() + 1) << "the player first";
    EXPECT_EQ(listing.members[0].first, "SHOW");
    EXPECT_EQ(listing.members[0].second, ReadFile(HEAD_TEST_PLAYER));
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(listing.members[i + 1].first, files[i].first);
        EXPECT_TRUE(listing.members[i + 1].second == files[i].second) << files[i].first;
    }
}

TEST(LeanMembers, RefuseADamagedPackageWithTheReason) {
    struct Case {
        const char* name;
        std::function<void(std::string& bytes, uint64_t lastData)> damage;
        std::function<void(std::string&)> rename;
        const char* problem;
    };
    const Case cases[] = {
        {"cut short", [](std::string& b, uint64_t) { b.resize(b.size() - 10); }, {}, "cut short"},
        {"cut in a header", [](std::string& b, uint64_t) { b.resize(HeadSize + 10); }, {}, "cut short"},
        {"data changed", [](std::string& b, uint64_t last) { b[last + 3] ^= 0x20; }, {}, "Bad CRC"},
        {"header changed", [](std::string& b, uint64_t) { b[HeadSize + 9] ^= 1; }, {}, "Bad checksum"},
        {"a path",
         {},
         [](std::string& n) { n = n == "NOTES.TXT" ? "..\\NOTES.TXT" : n; },
         "leave the show's folder"},
        {"the player's name again, in small letters",
         [](std::string& b, uint64_t) {
             const std::size_t name = b.rfind("SHOW"), header = name - 22;
             b.replace(name, 4, "show");
             unsigned sum = 0;
             for (std::size_t i = header + 2; i < header + 2 + uint8_t(b[header]); ++i)
                 sum += uint8_t(b[i]);
             b[header + 1] = char(sum); // the header's checksum
         },
         [](std::string& n) { n = n == "NOTES.TXT" ? "SHOW" : n; }, "two members are named show"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        MakePackage(dir / "show", {{"NOTES.TXT", Text(5000)}}, c.rename);
        std::string bytes = ReadFile(dir / "show");
        if (c.damage)
            c.damage(bytes, bytes.size() - 20);
        WriteFile(dir / "show", bytes);
        ScratchFolder out;
        EXPECT_NE(ReadBack(dir / "show", out.path).problem.find(c.problem), std::string::npos)
            << ReadBack(dir / "show", out.path).problem;
    }
}

} // namespace
