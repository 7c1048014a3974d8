// SPDX-License-Identifier: MIT
#pragma once
// Prints Google Benchmark's usual table, then one line per pair of benchmarks that were measured in
// the same run: ours, the peer's, and ours as a multiple of the peer's time (and of its size, for a
// pair that both counted the "bytes" they wrote); and one line for each of ours that no peer does
// alike (a reading from the thumbnail cache), without a ratio.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Pairs of benchmark names: (ours, peer); and ours that stand alone.
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs,
                           std::vector<std::string> alone = {})
        : pairs_(std::move(pairs)), alone_(std::move(alone)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
                if (const auto bytes = run.counters.find("bytes"); bytes != run.counters.end())
                    bytes_[run.run_name.function_name] = bytes->second.value;
            }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [ours, peer] : pairs_) {
            if (!times_.count(ours) || !times_.count(peer))
                continue;
            std::printf("ratio %-40s %10.3f ms  vs %-32s %10.3f ms  = %.2fx\n", ours.c_str(), times_[ours],
                        peer.c_str(), times_[peer], times_[ours] / times_[peer]);
            if (bytes_.count(ours) && bytes_.count(peer) && bytes_[peer] > 0)
                std::printf("size  %-40s %10.2f MB  vs %-32s %10.2f MB  = %.2fx\n", ours.c_str(),
                            bytes_[ours] / 1e6, peer.c_str(), bytes_[peer] / 1e6,
                            bytes_[ours] / bytes_[peer]);
        }
        for (const std::string& ours : alone_)
            if (times_.count(ours))
                std::printf("alone %-40s %10.3f ms  (no peer does this work)\n", ours.c_str(), times_[ours]);
        std::fflush(stdout);
    }

  private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::vector<std::string> alone_;
    std::map<std::string, double> times_;
    std::map<std::string, double> bytes_;
};

// Runs the registered benchmarks in milliseconds and prints the ratios of the pairs, and those alone.
inline int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs,
                         std::vector<std::string> alone = {}) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(pairs), std::move(alone));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
