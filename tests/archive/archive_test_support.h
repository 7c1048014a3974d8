// SPDX-License-Identifier: MIT
// Small helpers shared by the archive tests: temporary folders, file bytes, sample data,
// and running the peer programs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace archive_test {

namespace fs = std::filesystem;

// A fresh folder removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ =
            fs::temp_directory_path() / ("verasco-archive-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string str() const { return path_.string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string RandomBytes(size_t n, uint32_t variant) {
    std::mt19937 gen(variant);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen());
    return s;
}

// Text with the repetitions of real prose: words drawn from a small vocabulary.
inline std::string SampleText(size_t n, uint32_t variant) {
    static const char* words[] = {"the ",  "slide ",  "show ",     "picture ", "of ",     "and ",
                                  "a ",    "folder ", "image ",    "archive ", "member ", "header ",
                                  "with ", "\n",      "compress ", "to "};
    std::mt19937 gen(variant);
    std::string s;
    while (s.size() < n)
        s += words[gen() % 16];
    s.resize(n);
    return s;
}

// Runs a shell command; returns its exit status and fills `output` with stdout and stderr.
inline int RunCommand(const std::string& command, std::string* output = nullptr) {
    const std::string log =
        (fs::temp_directory_path() / ("verasco-run-" + std::to_string(std::random_device{}()))).string();
    const int status = std::system((command + " >" + log + " 2>&1").c_str());
    if (output)
        *output = ReadFile(log);
    std::error_code ec;
    fs::remove(log, ec);
    return status == -1 ? -1 : WEXITSTATUS(status);
}

inline bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + name) == 0;
}

// `command` run as a second user (nobody) when the test runs as root, whom no folder permission
// stops; else as it is. Empty when the test is root and setpriv is missing.
inline std::string AsSecondUser(const std::string& command) {
    if (geteuid() != 0)
        return command;
    return HaveProgram("setpriv") ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " + command
                                  : std::string();
}

inline std::string TestData() {
    const char* env = std::getenv("VERASCO_TESTDATA");
    return std::string(env && *env ? env : VERASCO_TESTDATA) + "/lha";
}

inline bool HaveTestData() {
    std::error_code ec;
    return fs::is_directory(TestData(), ec);
}

} // namespace archive_test

// Skips the running test when the shared LHA test data is absent (a clone without ../shared).
#define SKIP_WITHOUT_TESTDATA()                                                                              \
    do {                                                                                                     \
        if (!archive_test::HaveTestData())                                                                   \
            GTEST_SKIP() << "the LHA test data folder " << archive_test::TestData() << " is absent";         \
    } while (0)
