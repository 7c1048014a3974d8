// SPDX-License-Identifier: MIT
// The head of a package, run as a real process on packages made of the real head and real LHA
// members: it runs the player named like the package in a private folder with the package's
// arguments, passes on its exit and the signals that end it, refuses damaged packages with a
// clear message, and leaves nothing behind in the temporary folder.

#include "head_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace head_test;

class Head : public ::testing::Test {
  protected:
    ScratchFolder work;
    ScratchFolder tmp; // the head's temporary folder
    std::string package = work / "show.exe";

    Finished run(const std::vector<std::string>& args = {}) {
        return RunPackage(package, args, tmp.path, work.path);
    }
};

TEST_F(Head, RunsThePlayerInAPrivateFolderWithTheArgumentsAndRemovesIt) {
    MakePackage(package, {{"images.sld", "slides"}, {"images.dat", std::string(5000, 'x')}});
    const Finished f = run({"one", "two words", "--exit", "ignored"});
    ASSERT_TRUE(WIFEXITED(f.status)) << f.err;
    EXPECT_EQ(WEXITSTATUS(f.status), 0) << f.err;
    const size_t cwd = f.out.find("cwd=" + tmp.path + "/verasco-show-");
    ASSERT_NE(cwd, std::string::npos) << f.out;
    const std::string folder = f.out.substr(cwd + 4, f.out.find('\n', cwd) - cwd - 4);
    EXPECT_EQ(folder.substr(folder.size() - 5), "/show") << f.out;
    const std::string privateFolder = folder.substr(0, folder.size() - 5);
    EXPECT_NE(f.out.find("tmp=" + privateFolder + "/tmp\n"), std::string::npos)
        << "the player's temporary folder lies in the private folder, beside the show: " << f.out;
    EXPECT_NE(f.out.find("mode=700\n"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find("arg=one\narg=two words\narg=--exit\narg=ignored\n"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find("file=IMAGES.DAT\nfile=IMAGES.SLD\nfile=SHOW.EXE\n"), std::string::npos) << f.out;
    EXPECT_TRUE(f.err.empty()) << f.err;
    EXPECT_TRUE(Entries(tmp.path).empty());
}

TEST_F(Head, RemovesWhatThePlayerLeftInItsTemporaryFolderButNotWhereLinksPoint) {
    MakePackage(package, {{"images.sld", "slides"}});
    const std::string kept = work / "kept";
    std::filesystem::create_directory(kept);
    WriteFile(kept + "/keep", "mine");
    const Finished f = run({"--litter", kept});
    ASSERT_TRUE(WIFEXITED(f.status)) << f.err;
    EXPECT_EQ(WEXITSTATUS(f.status), 0) << f.err;
    EXPECT_TRUE(Entries(tmp.path).empty());
    EXPECT_EQ(ReadFile(kept + "/keep"), "mine") << "a link is removed, not what it points to";
}

TEST_F(Head, PassesOnThePlayersExitCode) {
    MakePackage(package, {});
    const Finished f = run({"--exit", "7"});
    ASSERT_TRUE(WIFEXITED(f.status));
    EXPECT_EQ(WEXITSTATUS(f.status), 7);
    EXPECT_TRUE(Entries(tmp.path).empty());
}

// The player is the member the export writes first, whatever the package is called now.
TEST_F(Head, FindsThePlayerOfAPackageRenamedAfterItWasMade) {
    for (const char* name : {"show (1).exe", "holiday", "holiday.run"}) {
        MakePackage(package, {{"song.wav", "RIFF"}});
        const std::string renamed = work / name;
        std::filesystem::rename(package, renamed);
        const Finished f = RunPackage(renamed, {"--exit", "3"}, tmp.path, work.path);
        ASSERT_TRUE(WIFEXITED(f.status)) << name << ": " << f.err;
        EXPECT_EQ(WEXITSTATUS(f.status), 3) << name << ": " << f.err;
        std::filesystem::remove(renamed);
    }
}

// A temporary folder from which programs may not run gives way to $XDG_RUNTIME_DIR; one without
// room for the show is named with the room needed.
TEST_F(Head, ARestrictedTemporaryFolder) {
    ScratchFolder runtime;
    const std::string sound(3000000, 's');
    const uint64_t needed = std::filesystem::file_size(HEAD_TEST_PLAYER) + sound.size();
    const struct {
        unsigned long flags;
        const char* options;
        int exitCode;
        std::string output; // on standard output, or else on standard error
    } rows[] = {
        {MS_NOEXEC, "", 0, "cwd=" + runtime.path + "/verasco-show-"},
        {0, "size=1m", 2,
         "show.exe: not enough space in " + tmp.path + " (" + std::to_string((needed + 999999) / 1000000) +
             " MB needed)\n"},
    };
    for (const auto& r : rows) {
        MakePackage(package, {{"song.wav", sound}});
        const OwnMount mount(tmp.path, r.flags, r.options);
        if (!mount.refused.empty())
            GTEST_SKIP() << mount.refused;
        const Finished f =
            RunPackage(package, {"--exit", "0"}, tmp.path, work.path, {"XDG_RUNTIME_DIR=" + runtime.path});
        ASSERT_TRUE(WIFEXITED(f.status)) << r.options << ": " << f.err;
        EXPECT_EQ(WEXITSTATUS(f.status), r.exitCode) << r.options << ": " << f.err;
        EXPECT_NE((r.exitCode == 0 ? f.out : f.err).find(r.output), std::string::npos) << f.out << f.err;
        EXPECT_TRUE(Entries(tmp.path).empty()) << r.options;
        EXPECT_TRUE(Entries(runtime.path).empty()) << r.options;
    }
}

TEST_F(Head, PassesEndingSignalsToThePlayerAndCleansUp) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        MakePackage(package, {{"images.sld", "slides"}});
        const std::string ready = work / "ready";
        std::filesystem::remove(ready);
        const pid_t head = Start(package, {"--wait", ready}, tmp.path, work.path);
        ASSERT_TRUE(WaitForFile(ready, head)) << strsignal(signal);
        pid_t player = 0;
        std::ifstream(ready) >> player;
        kill(head, signal);
        const Finished f = Wait(head, work.path);
        ASSERT_TRUE(WIFSIGNALED(f.status)) << strsignal(signal) << ": " << f.err;
        EXPECT_EQ(WTERMSIG(f.status), signal);
        EXPECT_NE(kill(player, 0), 0) << "the player still runs after " << strsignal(signal);
        EXPECT_TRUE(Entries(tmp.path).empty()) << strsignal(signal);
    }
}

// The folder of a head killed outright (its player then ends too) is removed by the next start, once
// nothing holds it any more; a running show's folder, another user's and a link stay.
TEST_F(Head, RemovesTheFolderOfAHeadThatWasKilled) {
    MakePackage(package, {{"images.sld", "slides"}});
    const std::string ready = work / "ready";
    const pid_t head = Start(package, {"--wait", ready}, tmp.path, work.path);
    ASSERT_TRUE(WaitForFile(ready, head));
    ASSERT_EQ(Entries(tmp.path).size(), 1u);
    const std::string folder = tmp / Entries(tmp.path).front();
    std::vector<std::string> kept{"verasco-show-link"};
    std::filesystem::create_directory_symlink(work.path, tmp / kept.back());
    if (geteuid() == 0) {
        kept.push_back("verasco-show-other");
        std::filesystem::create_directory(tmp / kept.back());
        ASSERT_EQ(chown((tmp / kept.back()).c_str(), 65534, 65534), 0);
    }
    RunPackage(package, {"--exit", "0"}, tmp.path, work.path);
    EXPECT_TRUE(std::filesystem::exists(folder)) << "the folder of a running show stays";
    kill(head, SIGKILL);
    Wait(head, work.path);
    // The player ends once its head is gone, and with it the lock it inherited.
    for (bool held = true; held; std::this_thread::yield()) {
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        held = fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0;
        close(fd);
    }
    RunPackage(package, {"--exit", "0"}, tmp.path, work.path);
    std::vector<std::string> left = Entries(tmp.path);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, kept);
    EXPECT_TRUE(std::filesystem::exists(ready)) << "nothing is removed through the link";
}

struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
    const char* message;
};

// Bytes that do not shrink, so that the member is stored and a changed byte shows in its CRC.
std::string Noise(size_t n) {
    std::string s(n, '\0');
    uint32_t x = 12345;
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

TEST_F(Head, RefusesDamagedPackagesWithAMessageAndLeavesNothingBehind) {
    const size_t headSize = ReadFile(VERASCO_BINARY_DIR "/app/verasco1.dat").size();
    // The members are written in list order: the player, IMAGES.SLD, then IMAGES.DAT.
    auto lastHeader = [](const std::string& b) { return b.rfind("IMAGES.DAT") - 22; };
    const Damage cases[] = {
        {"cut inside the last member's data", [](std::string& b) { b.resize(b.size() - 100); },
         "bytes after the last complete member (is the file cut short?)"},
        {"cut inside the last member's header", [&](std::string& b) { b.resize(lastHeader(b) + 10); },
         "10 bytes after the last complete member"},
        {"no members at all", [&](std::string& b) { b.resize(headSize); }, "holds no show"},
        {"a data byte changed", [](std::string& b) { b[b.size() - 10] ^= 0x55; }, "Bad CRC"},
    };
    for (const Damage& c : cases) {
        MakePackage(package, {{"images.sld", "slides"}, {"images.dat", Noise(3000)}});
        std::string bytes = ReadFile(package);
        c.apply(bytes);
        WriteFile(package, bytes);
        const Finished f = run({"--exit", "0"});
        ASSERT_TRUE(WIFEXITED(f.status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(f.status), 2) << c.name;
        EXPECT_NE(f.err.find("show.exe: "), std::string::npos) << c.name << ": " << f.err;
        EXPECT_NE(f.err.find(c.message), std::string::npos) << c.name << ": " << f.err;
        EXPECT_EQ(f.out.find("cwd="), std::string::npos) << c.name << ": the player ran";
        EXPECT_TRUE(Entries(tmp.path).empty()) << c.name;
    }
}

// A package cut inside its head has code missing: the system refuses to start it, instead of
// starting it and crashing.
TEST_F(Head, APackageCutInsideItsHeadIsRefusedAtTheStart) {
#ifdef HEAD_WITH_SANITIZERS
    GTEST_SKIP() << "a head built with the sanitizers is not finished for packages";
#endif
    MakePackage(package, {{"images.sld", "slides"}});
    const std::string whole = ReadFile(package);
    const size_t headSize = ReadFile(VERASCO_BINARY_DIR "/app/verasco1.dat").size();
    for (const size_t cut : {size_t(1000), headSize / 2, headSize - 1}) {
        WriteFile(package, whole.substr(0, cut));
        const int status = std::system(("'" + package + "' > /dev/null 2>&1").c_str());
        ASSERT_TRUE(WIFEXITED(status)) << cut;
        EXPECT_NE(WEXITSTATUS(status), 0) << cut;
        EXPECT_LT(WEXITSTATUS(status), 128) << cut << ": ended by a signal";
    }
}

TEST_F(Head, RefusesMemberNamesThatWouldLeaveItsFolderOrTakeAnothersPlace) {
    const std::pair<const char*, const char*> rows[] = {
        {"..\\EVIL.TXT", "would leave the show's folder"},
        {"SUB\\..\\..\\EVIL.TXT", "would leave the show's folder"},
        {"\\EVIL.TXT", "would leave the show's folder"},
        {"show.exe", "two members are named SHOW.EXE"}, // the player's place, and it would be run
    };
    for (const auto& row : rows) {
        const char* evil = row.first;
        MakePackage(package, {{"evil.txt", "gotcha"}}, [evil](std::string& name) {
            if (name == "EVIL.TXT")
                name = evil;
        });
        const Finished f = run({"--exit", "0"});
        ASSERT_TRUE(WIFEXITED(f.status)) << evil;
        EXPECT_EQ(WEXITSTATUS(f.status), 2) << evil;
        EXPECT_NE(f.err.find(row.second), std::string::npos) << evil << ": " << f.err;
        EXPECT_TRUE(Entries(tmp.path).empty()) << evil;
        EXPECT_FALSE(std::filesystem::exists(work / "EVIL.TXT")) << evil;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(tmp.path).parent_path() / "EVIL.TXT"));
    }
}

} // namespace

namespace {

// Debian's lhasa finds an archive behind a program only within the first 64 KiB of the file, so the
// head must stay that small and must not hold bytes that look like a member header.
TEST_F(Head, LeavesItsMembersWhereLhaReadersFindThem) {
#ifdef HEAD_WITH_SANITIZERS
    GTEST_SKIP() << "a head built with the sanitizers is too large for the readers' 64 KiB search";
#endif
    MakePackage(package, {{"images.sld", "slides"}, {"images.dat", std::string(4000, 'q')}});
    if (std::system("command -v lhasa > /dev/null") != 0)
        GTEST_SKIP() << "Debian's lhasa is needed";
    const std::string list = work / "list.txt";
    EXPECT_EQ(std::system(("lhasa l '" + package + "' > '" + list + "' 2>&1").c_str()), 0);
    const std::string listing = ReadFile(list);
    EXPECT_NE(listing.find("Total         3 files"), std::string::npos) << listing;
    EXPECT_EQ(std::system(("lhasa t '" + package + "' > /dev/null 2>&1").c_str()), 0);
}

} // namespace
