// SPDX-License-Identifier: MIT
// The codec on its own: every method both ways, the budget, progress and cancelling, scrambling,
// damaged streams, and runs that do not disturb each other.
#include "archive_test_support.h"
#include "crc16.h"
#include "lh5_constants.h"
#include "lha_errors.h"
#include "lzh_codec.h"
#include "match_finder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

using namespace verasco::archive;
using namespace archive_test;

namespace {

struct Packed {
    std::string data;
    uint16_t crc;
};

CodecJob Job(CodecDirection direction, LhaMethod method, std::istream& in, std::ostream& out, uint64_t length,
             uint64_t size = 0) {
    CodecJob job;
    job.direction = direction;
    job.method = method;
    job.input = &in;
    job.output = &out;
    job.inputLength = length;
    job.expectedSize = size;
    return job;
}

// One run of the codec over `input`; `size` is what an expansion gives.
CodecResult Run(CodecDirection direction, const std::string& input, std::string& output, LhaMethod method,
                uint64_t size = 0, const std::string& password = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    CodecJob job = Job(direction, method, in, out, input.size(), size);
    job.password = password;
    const CodecResult r = RunCodec(job);
    output = out.str();
    EXPECT_EQ(r.bytesWritten, output.size());
    return r;
}

Packed Compress(const std::string& input, LhaMethod method, const std::string& password = {}) {
    Packed p;
    p.crc = Run(CodecDirection::Compress, input, p.data, method, 0, password).crc;
    return p;
}

std::string Expand(const std::string& packed, LhaMethod method, uint64_t size, uint16_t* crc = nullptr,
                   const std::string& password = {}) {
    std::string out;
    const CodecResult r = Run(CodecDirection::Expand, packed, out, method, size, password);
    if (crc)
        *crc = r.crc;
    return out;
}

uint16_t Crc(const std::string& s) {
    return UpdateCrc16(0, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::string Binary(size_t n) {
    // Instructions-like data: runs, small numbers and repeated records.
    std::string s;
    uint32_t x = 12345;
    while (s.size() < n) {
        x = x * 1103515245 + 12345;
        s += std::string(1 + (x >> 28), static_cast<char>(x >> 20));
        s += "\x48\x8b\x45";
        s.push_back(static_cast<char>(x >> 8 & 0x1F));
    }
    s.resize(n);
    return s;
}

} // namespace

TEST(Codec, RoundTripForEveryMethodAndSize) {
    const std::string text = SampleText(300000, 1);
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"one byte", "Q"},
        {"8192 equal bytes", std::string(8192, 'A')},
        {"8191 of text", text.substr(0, 8191)},
        {"8193 of text", text.substr(0, 8193)},
        {"16383 binary", Binary(16383)},
        {"16384 binary", Binary(16384)},
        {"16385 binary", Binary(16385)},
        {"long text", text},
        {"short run then text", std::string(300, ' ') + text.substr(0, 5000)},
    };
    for (LhaMethod method : {LhaMethod::Lh0, LhaMethod::Lh1, LhaMethod::Lh5}) {
        for (const auto& [what, input] : inputs) {
            Packed p;
            try {
                p = Compress(input, method);
            } catch (const EUnableToCompress&) {
                EXPECT_LT(input.size(), 8u) << what; // only a few bytes may fail to shrink
                continue;
            }
            EXPECT_EQ(p.crc, Crc(input)) << what;
            if (method != LhaMethod::Lh0 && input.size() > 100) {
                EXPECT_LT(p.data.size(), input.size()) << what;
            }
            uint16_t crc = 0;
            EXPECT_EQ(Expand(p.data, method, input.size(), &crc), input)
                << what << " method " << static_cast<int>(method);
            EXPECT_EQ(crc, Crc(input)) << what;
        }
    }
}

TEST(Codec, EmptyInputHasNoDataBytes) {
    for (LhaMethod method : {LhaMethod::Lh0, LhaMethod::Lh1, LhaMethod::Lh5}) {
        const Packed p = Compress("", method);
        EXPECT_TRUE(p.data.empty());
        EXPECT_EQ(p.crc, 0);
    }
}

TEST(Codec, EqualBytesShrinkToAFewBytes) {
    EXPECT_LT(Compress(std::string(8192, 'A'), LhaMethod::Lh5).data.size(), 40u);
    EXPECT_LT(Compress(std::string(8192, 'A'), LhaMethod::Lh1).data.size(), 400u);
}

TEST(Codec, RandomDataExceedsTheBudget) {
    const std::string noise = RandomBytes(8192, 7);
    for (LhaMethod method : {LhaMethod::Lh1, LhaMethod::Lh5}) {
        try {
            Compress(noise, method);
            ADD_FAILURE() << "compressed random data";
        } catch (const EUnableToCompress& e) {
            EXPECT_STREQ(e.what(), "Could not compress data");
        }
    }
}

TEST(Codec, PeerStreamsExpand) {
    SKIP_WITHOUT_TESTDATA();
    const std::string expected = ReadFile(TestData() + "/raw/gpl-2.txt");
    ASSERT_EQ(expected.size(), 18092u);
    EXPECT_EQ(Expand(ReadFile(TestData() + "/raw/lh5.bin"), LhaMethod::Lh5, expected.size()), expected);
    EXPECT_EQ(Expand(ReadFile(TestData() + "/raw/lh1.bin"), LhaMethod::Lh1, expected.size()), expected);
}

TEST(Codec, RunLengthExpansion) {
    const struct {
        std::string in;
        size_t size;
        std::string out;
    } rows[] = {
        {"abc", 3, "abc"},
        {std::string("x\x94\x04y", 4), 5, "xxxxy"},
        {std::string("\x94\x00z", 3), 2, "\x94z"},
        {std::string("\x94\x03", 2), 2, std::string(2, '\0')},     // nothing read before: 0
        {std::string("a\x94\x00\x94\x03", 5), 4, "a\x94\x94\x94"}, // after a run the byte is 0x94
        {std::string("q\x94\xFF", 3), 10, std::string(10, 'q')},   // stops at the member's size
        {std::string("ab\x94", 3), 5, "ab"},                       // input ends inside a run
    };
    for (const auto& r : rows)
        EXPECT_EQ(Expand(r.in, LhaMethod::Rle, r.size), r.out) << r.in.size();
}

TEST(Codec, DamagedStreams) {
    SKIP_WITHOUT_TESTDATA();
    const std::string gpl = ReadFile(TestData() + "/raw/gpl-2.txt");
    const std::string lh5 = ReadFile(TestData() + "/raw/lh5.bin");
    const std::string lh1 = ReadFile(TestData() + "/raw/lh1.bin");
    // Cut short: the output stops short or its CRC differs, and the run ends quickly.
    for (size_t cut : {size_t(0), size_t(1), size_t(3), size_t(100), lh5.size() / 2}) {
        uint16_t crc = 0;
        std::string out;
        try {
            out = Expand(lh5.substr(0, cut), LhaMethod::Lh5, gpl.size(), &crc);
        } catch (const ELZHBadDecodeTable& e) {
            EXPECT_STREQ(e.what(), "Bad decode table in archive!");
            continue;
        }
        EXPECT_TRUE(out.size() < gpl.size() || crc != Crc(gpl)) << cut;
    }
    for (size_t cut : {size_t(0), size_t(5), lh1.size() / 2}) {
        uint16_t crc = 0;
        const std::string out = Expand(lh1.substr(0, cut), LhaMethod::Lh1, gpl.size(), &crc);
        EXPECT_TRUE(out.size() < gpl.size() || crc != Crc(gpl)) << cut;
    }
    // Code-length sets that are no prefix code.
    const std::string badTables[] = {
        std::string("\x00\x10\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10), // T count 31 > 19
        std::string("\x00\x10\x08\x00\x00\x00\x00\x00", 8),          // one T length, incomplete
        std::string("\x00\x10\x07\xC0\x00\x00", 6),                  // single T symbol 31
    };
    for (const std::string& bytes : badTables) {
        try {
            Expand(bytes, LhaMethod::Lh5, 100);
            ADD_FAILURE() << "accepted a bad table";
        } catch (const ELZHBadDecodeTable& e) {
            EXPECT_STREQ(e.what(), "Bad decode table in archive!");
        }
    }
}

TEST(Codec, ProgressAndCancel) {
    const std::string input = SampleText(50000, 2);
    std::istringstream in(input);
    std::ostringstream out;
    CodecJob job = Job(CodecDirection::Compress, LhaMethod::Lh5, in, out, input.size());
    std::vector<int> seen;
    job.progress = [&seen](int& p) { seen.push_back(p); };
    RunCodec(job);
    ASSERT_EQ(seen.size(), 7u); // one call per 8192-byte refill
    EXPECT_EQ(seen.front(), 8192 * 100 / 50000);
    EXPECT_EQ(seen.back(), 100);

    in.clear();
    in.seekg(0);
    job.progress = [](int& p) {
        if (p > 30)
            p = -1;
    };
    EXPECT_THROW(RunCodec(job), ECompLHAOperationAborted);

    in.clear();
    in.seekg(0);
    std::atomic<bool> abort{true};
    job.progress = nullptr;
    job.abortFlag = &abort;
    try {
        RunCodec(job);
        ADD_FAILURE() << "not cancelled";
    } catch (const ECompLHAOperationAborted& e) {
        EXPECT_STREQ(e.what(), "Operation cancelled");
    }
}

// A stream whose reads fail after `good` bytes, as a file on a failing disk.
class FailingBuffer : public std::streambuf {
  public:
    explicit FailingBuffer(std::string good) : good_(std::move(good)) {
        setg(good_.data(), good_.data(), good_.data() + good_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

  private:
    std::string good_;
};

TEST(Codec, ReadErrorIsNotTheEndOfTheInput) {
    for (LhaMethod method : {LhaMethod::Lh0, LhaMethod::Lh1, LhaMethod::Lh5}) {
        for (CodecDirection direction : {CodecDirection::Compress, CodecDirection::Expand}) {
            FailingBuffer failing(direction == CodecDirection::Compress ? SampleText(20000, 17) : "");
            std::istream in(&failing);
            std::ostringstream out;
            EXPECT_THROW(RunCodec(Job(direction, method, in, out, 50000, 50000)), EInOutError)
                << MethodIdentifier(method);
        }
    }
}

// Match positions count the input's bytes from 1, so the last byte of a file of 4 GiB - 1 bytes
// lies at 2^32 - 1 and its end at 2^32: the matches found up to there still point at equal bytes
// inside the dictionary, and the whole input is searched.
TEST(Codec, MatchFinderAtTheFourGigabyteLimit) {
    const std::string input = SampleText(300000, 18);
    std::istringstream in(input);
    CodecJob job;
    job.input = &in;
    job.inputLength = input.size();
    ByteSource source(job, false, false);
    const uint64_t first = (uint64_t{1} << 32) - input.size();
    MatchFinder finder(source, {lh5::kDictionary, lh5::kMaxMatch, 128, 128}, first);
    uint64_t pos = first, matched = 0;
    for (;; ++pos) {
        finder.fill(pos);
        if (pos + lh5::kMinMatch > finder.end())
            break;
        const auto head = finder.insert(pos);
        decltype(finder.end()) at = 0;
        const uint32_t length = head == 0 ? 0 : finder.longest(pos, head, lh5::kMinMatch - 1, at);
        if (length == 0)
            continue;
        ASSERT_TRUE(at < pos && pos - at <= lh5::kDictionary) << pos - first;
        ASSERT_EQ(input.compare(pos - first, length, input, at - first, length), 0) << pos - first;
        matched += length;
    }
    EXPECT_EQ(pos - first, input.size() - 2);
    EXPECT_GT(matched, input.size());
}

TEST(Codec, Scrambling) {
    const std::string input = SampleText(20000, 5);
    const Packed plain = Compress(input, LhaMethod::Lh5);
    const Packed scrambled = Compress(input, LhaMethod::Lh5, "secret");
    EXPECT_EQ(scrambled.crc, Crc(input)); // the CRC is that of the plain data
    EXPECT_NE(scrambled.data, plain.data);
    EXPECT_EQ(scrambled.data.size(), plain.data.size());
    EXPECT_EQ(Expand(scrambled.data, LhaMethod::Lh5, input.size(), nullptr, "secret"), input);
    // A password whose product is 0 still scrambles.
    const Packed zero = Compress(input, LhaMethod::Lh0, std::string("\0a", 2));
    EXPECT_NE(zero.data, input);
}

TEST(Codec, RunsInParallelDoNotDisturbEachOther) {
    const std::string a = SampleText(400000, 11), b = Binary(400000);
    const Packed refA = Compress(a, LhaMethod::Lh5), refB = Compress(b, LhaMethod::Lh1);
    Packed gotA, gotB;
    std::string backA, backB;
    std::thread t1([&] {
        gotA = Compress(a, LhaMethod::Lh5);
        backA = Expand(gotA.data, LhaMethod::Lh5, a.size());
    });
    std::thread t2([&] {
        gotB = Compress(b, LhaMethod::Lh1);
        backB = Expand(gotB.data, LhaMethod::Lh1, b.size());
    });
    t1.join();
    t2.join();
    EXPECT_EQ(gotA.data, refA.data);
    EXPECT_EQ(gotB.data, refB.data);
    EXPECT_EQ(backA, a);
    EXPECT_EQ(backB, b);
}
