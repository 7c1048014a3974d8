#include "startup_warmup.h"

#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {
// Brings a block's pages into memory: the kernel maps them all in one call where it can, and a
// write to each page completes what is left (on a virtual machine, the first touch of a page costs
// a trip to the host even after the kernel has mapped it).
void pageIn(void* block, std::size_t size) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + size) & ~(page - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
    auto* bytes = static_cast<volatile unsigned char*>(block);
    for (std::size_t offset = 0; offset < size; offset += page)
        bytes[offset] = 0;
}
} // namespace

StartupWarmup::StartupWarmup() {
    // The allocator gives large blocks mappings of their own until one such mapping is freed; it
    // then serves blocks up to that size from the heap and keeps twice as much memory given back.
    // Freeing a first, untouched mapping does now what the first picture buffer freed would do
    // later, so that the blocks below and the window's backing store come from the heap.
    void* volatile firstMapping = std::malloc(2 * 1024 * 1024); // volatile: kept by the compiler
    std::free(firstMapping);
    for (void*& block : blocks_)
        block = std::malloc(BlockSize);
    helper_ = std::thread([this] { run(); });
}

StartupWarmup::~StartupWarmup() {
    // A start that hands its paths over ends here without having used the memory.
    stopping_.store(true, std::memory_order_relaxed);
    beforeShow();
}

void StartupWarmup::run() {
    FcInit();
    fontsRead_.count_down();
    for (std::size_t i = 0; i < BlockCount; ++i) {
        if (blocks_[i] && !stopping_.load(std::memory_order_relaxed))
            pageIn(blocks_[i], BlockSize);
        pagedIn_.store(i + 1, std::memory_order_release);
    }
}

void StartupWarmup::beforeWindows() {
    fontsRead_.wait();
    releaseThrough(pagedIn_.load(std::memory_order_acquire));
}

void StartupWarmup::beforeShow() {
    if (helper_.joinable())
        helper_.join();
    releaseThrough(BlockCount);
}

void StartupWarmup::releaseThrough(std::size_t end) {
    for (; released_ < end; ++released_) {
        std::free(blocks_[released_]);
        blocks_[released_] = nullptr;
    }
}
