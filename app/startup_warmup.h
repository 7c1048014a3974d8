#pragma once
// Work that a start needs before its first window can be drawn but that needs nothing from Qt,
// done on the second core while the first one starts Qt:
//  - reading the system's font configuration, dozens of files parsed before the first line of
//    text can be measured;
//  - paging in the memory the windows are built and first painted in. Every page the program
//    touches for the first time costs a trip through the kernel; building and first painting the
//    main window, its backing store included, touches about seven hundred of them.
// The memory is reserved from the heap as blocks that the helper thread pages in one after the
// other; they go back to the allocator, already in memory, just before the windows are built
// (those that are ready by then) and just before the main window is shown (the rest).

#include <array>
#include <atomic>
#include <cstddef>
#include <latch>
#include <thread>

class StartupWarmup {
  public:
    StartupWarmup();
    ~StartupWarmup();
    StartupWarmup(const StartupWarmup&) = delete;
    StartupWarmup& operator=(const StartupWarmup&) = delete;

    // Waits for the font configuration and hands over the memory paged in so far.
    void beforeWindows();
    // Waits for the helper thread and hands over the rest of the memory.
    void beforeShow();

  private:
    static constexpr std::size_t BlockCount = 12;
    static constexpr std::size_t BlockSize = 256 * 1024;

    void run();
    void releaseThrough(std::size_t end);

    std::array<void*, BlockCount> blocks_{};
    std::size_t released_ = 0;
    std::atomic<std::size_t> pagedIn_{0};
    std::atomic<bool> stopping_{false};
    std::latch fontsRead_{1};
    std::thread helper_;
};
