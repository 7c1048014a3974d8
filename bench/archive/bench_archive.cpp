// SPDX-License-Identifier: MIT
// Speed and size of the LHA codec beside its peers, measured in the same run on the same files:
// ~30 MB of text (/usr/include, /usr/share/doc) and ~20 MB of programs (/usr/bin), copied to a
// temporary folder, and testing an archive of 2,000 small members, where the work around each member
// counts more than its data, once as written here (level 1) and once as jlha writes it at header
// level 2. Each figure is printed with the peer's and the ratio.
#include "comp_lha.h"
#include "lha_errors.h"
#include "lzh_codec.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace fs = std::filesystem;
using namespace verasco::archive;

// Heap use of one codec run: every allocation is counted while `gCounting` is set.
static std::atomic<bool> gCounting{false};
static std::atomic<size_t> gCurrent{0}, gPeak{0};

void* operator new(size_t n) {
    void* p = std::malloc(n + 16);
    if (!p)
        throw std::bad_alloc();
    *static_cast<size_t*>(p) = n;
    if (gCounting) {
        const size_t now = gCurrent += n;
        size_t peak = gPeak;
        while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
        }
    }
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    char* base = static_cast<char*>(p) - 16;
    if (gCounting)
        gCurrent -= *reinterpret_cast<size_t*>(base);
    std::free(base);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

struct Corpus {
    std::string name;
    std::string folder;
    std::vector<std::string> files; // names inside folder
    uint64_t bytes = 0;
    std::string lh5Archive, lh1Archive;
};

std::string gWork;
std::map<std::string, Corpus> gCorpora;
Corpus gSmall;
std::string gSmallLevelTwo; // the small members in jlha's level-2 archive
// LHa for UNIX, when the "lha" found is that program (Debian's lha package) rather than another.
bool gLhaForUnix = false;

bool LooksLikeText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    char buf[512];
    in.read(buf, sizeof buf);
    for (std::streamsize i = 0; i < in.gcount(); ++i)
        if (buf[i] == 0)
            return false;
    return in.gcount() > 0;
}

Corpus Collect(const std::string& name, const std::vector<std::string>& roots, uint64_t target, bool text) {
    Corpus c;
    c.name = name;
    c.folder = gWork + "/" + name;
    fs::create_directories(c.folder);
    std::vector<fs::path> candidates;
    for (const std::string& root : roots) {
        std::error_code ec;
        for (auto it =
                 fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (ec)
                break;
            if (!it->is_regular_file(ec) || it->is_symlink(ec))
                continue;
            const auto ext = it->path().extension().string();
            if (text && (ext == ".gz" || ext == ".xz" || ext == ".bz2" || ext == ".png" || ext == ".jpg"))
                continue;
            candidates.push_back(it->path());
        }
    }
    std::sort(candidates.begin(), candidates.end());
    std::mt19937 gen(42);
    std::shuffle(candidates.begin(), candidates.end(), gen);
    for (const fs::path& p : candidates) {
        if (c.bytes >= target)
            break;
        std::error_code ec;
        const uint64_t size = fs::file_size(p, ec);
        if (ec || size == 0 || size > 4 * 1024 * 1024 || (text && !LooksLikeText(p)) ||
            (!text && LooksLikeText(p)))
            continue;
        char stored[32];
        std::snprintf(stored, sizeof stored, "f%05zu.dat", c.files.size());
        fs::copy_file(p, c.folder + "/" + stored, fs::copy_options::overwrite_existing, ec);
        if (ec)
            continue;
        c.files.push_back(stored);
        c.bytes += size;
    }
    return c;
}

// 2,000 text files of 200 bytes to 4 KB, in the archive `gSmall.lh5Archive`.
Corpus SmallFiles() {
    static const char* words[] = {"the ", "slide ",  "show ",  "picture ", "of ",     "and ",
                                  "a ",   "folder ", "image ", "archive ", "member ", "\n"};
    Corpus c;
    c.name = "small";
    c.folder = gWork + "/small";
    fs::create_directories(c.folder);
    std::mt19937 gen(7);
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (const size_t size = 200 + gen() % 3900; text.size() < size;)
            text += words[gen() % std::size(words)];
        char name[32];
        std::snprintf(name, sizeof name, "s%04d.txt", i);
        std::ofstream(c.folder + "/" + name, std::ios::binary) << text;
        c.files.push_back(name);
        c.bytes += text.size();
    }
    return c;
}

std::string FileList(const Corpus& c) {
    std::string list;
    for (const std::string& f : c.files)
        list += " " + f;
    return list;
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %.200s\n", command.c_str());
}

void CompressWithUs(const Corpus& c, TCompLHAMethod method, const std::string& archive) {
    fs::remove(archive);
    TCompLHA lha;
    lha.ArchiveName = archive;
    lha.CompressionMethod = method;
    lha.FilesToProcess.clear();
    for (const std::string& f : c.files)
        lha.FilesToProcess.push_back(c.folder + "/" + f);
    lha.Compress();
}

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Expands every member and checks its CRC, writing nothing: what "lhasa t" does.
void TestWithUs(const std::string& archive) {
    TCompLHA lha;
    lha.ArchiveName = archive;
    lha.Scan();
    std::ifstream in(archive, std::ios::binary);
    NullBuffer null;
    std::ostream out(&null);
    for (const auto& [name, info] : lha.Contents()) {
        in.seekg(static_cast<std::streamoff>(info.dataPosition));
        CodecJob job;
        job.direction = CodecDirection::Expand;
        job.method = static_cast<LhaMethod>(info.method);
        job.input = &in;
        job.output = &out;
        job.inputLength = info.packedSize;
        job.expectedSize = info.originalSize;
        const CodecResult r = RunCodec(job);
        if (r.crc != info.crc || r.bytesWritten != info.originalSize)
            throw ECompLHABadCRC("Bad CRC during expansion -- data may be invalid");
    }
}

uint64_t SizeOf(const std::string& path) {
    return fs::file_size(path);
}

// Processor seconds (user and system) of this process, or of its finished child processes: the
// machine is shared, so time on the processor is what compares ours with a peer fairly.
double CpuSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

template <typename Work> void Timed(benchmark::State& state, int who, Work work) {
    for (auto _ : state) {
        const double start = CpuSeconds(who);
        work();
        state.SetIterationTime(CpuSeconds(who) - start);
    }
}

void Report(benchmark::State& state, const Corpus& c) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.bytes));
}

void BM_Lh5ExpandOurs(benchmark::State& state, const std::string& corpus) {
    const Corpus& c = gCorpora.at(corpus);
    Timed(state, RUSAGE_SELF, [&c] { TestWithUs(c.lh5Archive); });
    Report(state, c);
}
void BM_Lh1ExpandOurs(benchmark::State& state, const std::string& corpus) {
    const Corpus& c = gCorpora.at(corpus);
    Timed(state, RUSAGE_SELF, [&c] { TestWithUs(c.lh1Archive); });
    Report(state, c);
}
void BM_ExpandLhasa(benchmark::State& state, const std::string& corpus, bool lh1) {
    const Corpus& c = gCorpora.at(corpus);
    Timed(state, RUSAGE_CHILDREN,
          [&c, lh1] { Shell("lhasa t " + (lh1 ? c.lh1Archive : c.lh5Archive) + " >/dev/null"); });
    Report(state, c);
}
// "t" of an archive of the small members: the component's own verification, and the peers' test.
void BM_TestSmallOurs(benchmark::State& state, const std::string& archive) {
    Timed(state, RUSAGE_SELF, [&archive] {
        TCompLHA lha;
        lha.ArchiveName = archive;
        lha.Verify();
    });
    Report(state, gSmall);
}
void BM_TestSmallPeer(benchmark::State& state, const std::string& program, const std::string& archive) {
    Timed(state, RUSAGE_CHILDREN, [&program, &archive] { Shell(program + " t " + archive + " >/dev/null"); });
    Report(state, gSmall);
}
void BM_CompressOurs(benchmark::State& state, const std::string& corpus, TCompLHAMethod method) {
    const Corpus& c = gCorpora.at(corpus);
    Timed(state, RUSAGE_SELF, [&c, method] { CompressWithUs(c, method, gWork + "/timed.lzh"); });
    Report(state, c);
}
void BM_CompressGzip(benchmark::State& state, const std::string& corpus) {
    const Corpus& c = gCorpora.at(corpus);
    Timed(state, RUSAGE_CHILDREN,
          [&c] { Shell("cd " + c.folder + " && gzip -6 -c" + FileList(c) + " >/dev/null"); });
    Report(state, c);
}

// Prints, after the usual table, one line per figure: ours, the peer's, and the ratio.
class ArchiveReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                mbps_[run.run_name.function_name] = run.counters.count("bytes_per_second")
                                                        ? run.counters.at("bytes_per_second").value / 1e6
                                                        : 0.0;
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const struct {
            const char* what;
            std::string ours, peer;
            const char* peerName;
            double goal;
        } lines[] = {
            {"lh5 expand text", "lh5_expand_ours/text", "lh5_lhasa_t/text", "lhasa t", 2.0},
            {"lh5 expand binaries", "lh5_expand_ours/bin", "lh5_lhasa_t/bin", "lhasa t", 2.0},
            {"lh1 expand text", "lh1_expand_ours/text", "lh1_lhasa_t/text", "lhasa t", 1.2},
            {"lh1 expand binaries", "lh1_expand_ours/bin", "lh1_lhasa_t/bin", "lhasa t", 1.2},
            {"lh5 compress text", "lh5_compress_ours/text", "gzip6/text", "gzip -6", 0.8},
            {"lh5 compress binaries", "lh5_compress_ours/bin", "gzip6/bin", "gzip -6", 0.8},
            {"lh1 compress text", "lh1_compress_ours/text", "gzip6/text", "gzip -6", 0.5},
            {"lh1 compress binaries", "lh1_compress_ours/bin", "gzip6/bin", "gzip -6", 0.5},
            {"t 2000 small members", "t_ours/small", "lhasa_t/small", "lhasa t", 1.0},
            {"t 2000 small members", "t_ours/small", "lha_t/small", "lha t", 1.0},
            {"t level-2 2000 members", "t_ours/small-level2", "jlha_t/small-level2", "jlha t", 1.0},
        };
        for (const auto& l : lines) {
            if (!mbps_.count(l.ours) || !mbps_.count(l.peer))
                continue;
            const double ratio = mbps_[l.ours] / mbps_[l.peer];
            std::printf("ratio %-22s ours %8.1f MB/s  %-8s %8.1f MB/s  = %.2fx (goal %.1fx) %s\n", l.what,
                        mbps_[l.ours], l.peerName, mbps_[l.peer], ratio, l.goal,
                        ratio >= l.goal ? "ok" : "BELOW");
        }
        for (const auto& [corpus, c] : gCorpora) {
            const uint64_t ours = SizeOf(c.lh5Archive);
            const std::string jlha = gWork + "/jlha-" + corpus + ".lzh";
            if (!fs::exists(jlha))
                continue;
            const uint64_t peer = SizeOf(jlha);
            std::printf("ratio %-22s ours %10llu bytes  jlha %10llu bytes  = %.4fx (goal <= 1) %s\n",
                        ("lh5 size " + corpus).c_str(), static_cast<unsigned long long>(ours),
                        static_cast<unsigned long long>(peer),
                        static_cast<double>(ours) / static_cast<double>(peer), ours <= peer ? "ok" : "ABOVE");
        }
        std::printf("memory one lh5 compress run %zu KB, one lh5 expand run %zu KB, lh1 %zu/%zu KB (goal <= "
                    "1024 KB)\n",
                    memory_[0] / 1024, memory_[1] / 1024, memory_[2] / 1024, memory_[3] / 1024);
        std::fflush(stdout);
    }
    size_t memory_[4] = {};

  private:
    std::map<std::string, double> mbps_;
};

// Peak heap use of one codec run over `input`.
size_t PeakOfRun(CodecDirection direction, LhaMethod method, const std::string& input, uint64_t expected) {
    std::istringstream in(input);
    NullBuffer null;
    std::ostream out(&null);
    CodecJob job;
    job.direction = direction;
    job.method = method;
    job.input = &in;
    job.output = &out;
    job.inputLength = input.size();
    job.expectedSize = expected;
    gCurrent = 0;
    gPeak = 0;
    gCounting = true;
    CodecResult r = RunCodec(job);
    gCounting = false;
    (void)r;
    return gPeak;
}

} // namespace

int main(int argc, char** argv) {
    gWork = (fs::temp_directory_path() / ("verasco-bench-archive-" + std::to_string(std::random_device{}())))
                .string();
    fs::create_directories(gWork);
    std::fprintf(stderr, "building corpora in %s\n", gWork.c_str());
    gCorpora["text"] = Collect("text", {"/usr/include", "/usr/share/doc"}, 30ull << 20, true);
    gCorpora["bin"] = Collect("bin", {"/usr/bin"}, 20ull << 20, false);
    for (auto& [name, c] : gCorpora) {
        std::fprintf(stderr, "%s: %zu files, %.1f MB\n", name.c_str(), c.files.size(), c.bytes / 1e6);
        c.lh5Archive = gWork + "/ours-lh5-" + name + ".lzh";
        c.lh1Archive = gWork + "/ours-lh1-" + name + ".lzh";
        CompressWithUs(c, TCompLHAMethod::colh5, c.lh5Archive);
        CompressWithUs(c, TCompLHAMethod::colh1, c.lh1Archive);
        std::fprintf(stderr, "jlha on %s (slow, for the size only)\n", name.c_str());
        Shell("cd " + c.folder + " && jlha c0 " + gWork + "/jlha-" + name + ".lzh" + FileList(c) +
              " >/dev/null");
    }

    gSmall = SmallFiles();
    gSmall.lh5Archive = gWork + "/ours-lh5-small.lzh";
    CompressWithUs(gSmall, TCompLHAMethod::colh5, gSmall.lh5Archive);
    gSmallLevelTwo = gWork + "/jlha-level2-small.lzh";
    std::fprintf(stderr, "jlha c2 on small\n");
    Shell("cd " + gSmall.folder + " && jlha c2 " + gSmallLevelTwo + FileList(gSmall) + " >/dev/null");
    gLhaForUnix = std::system("lha --version 2>&1 | grep -q 'LHa for UNIX'") == 0;

    ArchiveReporter reporter;
    {
        const std::string text = [] {
            std::ifstream in(gCorpora["text"].folder + "/f00000.dat", std::ios::binary);
            std::string s((std::istreambuf_iterator<char>(in)), {});
            while (s.size() < (4u << 20))
                s += s + "x";
            return s;
        }();
        reporter.memory_[0] = PeakOfRun(CodecDirection::Compress, LhaMethod::Lh5, text, 0);
        reporter.memory_[2] = PeakOfRun(CodecDirection::Compress, LhaMethod::Lh1, text, 0);
        std::istringstream in(text);
        std::ostringstream packed5, packed1;
        for (auto [method, sink] :
             {std::pair{LhaMethod::Lh5, &packed5}, std::pair{LhaMethod::Lh1, &packed1}}) {
            in.clear();
            in.seekg(0);
            CodecJob job;
            job.method = method;
            job.input = &in;
            job.output = sink;
            job.inputLength = text.size();
            RunCodec(job);
        }
        reporter.memory_[1] = PeakOfRun(CodecDirection::Expand, LhaMethod::Lh5, packed5.str(), text.size());
        reporter.memory_[3] = PeakOfRun(CodecDirection::Expand, LhaMethod::Lh1, packed1.str(), text.size());
    }

    for (const char* corpus : {"text", "bin"}) {
        const std::string c = corpus;
        // Each measured on the processor clock (see Timed) for a few runs of the whole corpus.
        const auto timed = [&c](const char* name, int runs, auto function, auto... options) {
            benchmark::RegisterBenchmark((name + ("/" + c)).c_str(), function, c, options...)
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(runs);
        };
        timed("lh5_expand_ours", 3, BM_Lh5ExpandOurs);
        timed("lh5_lhasa_t", 3, BM_ExpandLhasa, false);
        timed("lh1_expand_ours", 2, BM_Lh1ExpandOurs);
        timed("lh1_lhasa_t", 2, BM_ExpandLhasa, true);
        timed("lh5_compress_ours", 2, BM_CompressOurs, TCompLHAMethod::colh5);
        timed("lh1_compress_ours", 2, BM_CompressOurs, TCompLHAMethod::colh1);
        timed("gzip6", 2, BM_CompressGzip);
    }
    const auto small = [](const char* name, auto function, auto... options) {
        benchmark::RegisterBenchmark(name, function, options...)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
    };
    small("t_ours/small", BM_TestSmallOurs, gSmall.lh5Archive);
    small("lhasa_t/small", BM_TestSmallPeer, std::string("lhasa"), gSmall.lh5Archive);
    if (gLhaForUnix)
        small("lha_t/small", BM_TestSmallPeer, std::string("lha"), gSmall.lh5Archive);
    if (fs::exists(gSmallLevelTwo)) {
        small("t_ours/small-level2", BM_TestSmallOurs, gSmallLevelTwo);
        small("jlha_t/small-level2", BM_TestSmallPeer, std::string("jlha"), gSmallLevelTwo);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(gWork, ec);
    return 0;
}
