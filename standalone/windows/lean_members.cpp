// SPDX-License-Identifier: MIT
#include "lean_members.h"

#include "crc16.h"
#include "member_names.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace verasco::head {
namespace {

#ifdef _WIN32
int SeekTo(std::FILE* f, uint64_t at) {
    return _fseeki64(f, static_cast<long long>(at), SEEK_SET);
}
#else
int SeekTo(std::FILE* f, uint64_t at) {
    return fseeko(f, static_cast<off_t>(at), SEEK_SET);
}
#endif

uint32_t Le(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

bool PlainName(const char* name) {
    return name[0] && std::strcmp(name, ".") && std::strcmp(name, "..") && !std::strpbrk(name, "/\\:");
}

// The -lh5- format: an 8 KiB window, literal-and-length codes 0 to 509, position codes 0 to 13.
constexpr int Dictionary = 1 << 13;
constexpr int NC = 510, NP = 14, NT = 19, CBits = 9, TBits = 5, PBits = 4;
constexpr int CTableBits = 12, PtTableBits = 8;
constexpr int Buffer = 1 << 14;

struct Decoder {
    std::FILE* in = nullptr;
    uint32_t left = 0; // packed bytes not yet read
    unsigned char input[Buffer];
    int inputAt = 0, inputEnd = 0;
    uint64_t bits = 0; // the next bits, most significant first
    int bitCount = 0;
    int overrun = 0; // zero bytes given past the end of the data
    bool bad = false;
    uint16_t blockLeft = 0;
    unsigned char cLen[NC], ptLen[NT];
    uint16_t cTable[1 << CTableBits], ptTable[1 << PtTableBits];
    uint16_t tree[2][2 * NC];
    unsigned char window[Dictionary];

    int byte() {
        if (inputAt == inputEnd) {
            const size_t want = left < Buffer ? left : Buffer;
            inputEnd = int(want ? std::fread(input, 1, want, in) : 0);
            left -= uint32_t(inputEnd);
            inputAt = 0;
            if (inputEnd == 0) {
                ++overrun;
                return 0;
            }
        }
        return input[inputAt++];
    }
    // The next 16 bits, without taking them.
    unsigned peek16() {
        while (bitCount < 16) {
            bits |= uint64_t(byte()) << (56 - bitCount);
            bitCount += 8;
        }
        return unsigned(bits >> 48);
    }
    void skip(int n) {
        peek16();
        bits <<= n;
        bitCount -= n;
    }
    unsigned get(int n) {
        if (n == 0)
            return 0;
        const unsigned v = peek16() >> (16 - n);
        skip(n);
        return v;
    }
    bool makeTable(int symbols, const unsigned char* lengths, int tableBits, uint16_t* table);
    void readPtLengths(int symbols, int countBits, int special);
    void readCLengths();
    unsigned walk(unsigned code, int symbols, unsigned mask) {
        while (code >= unsigned(symbols) && !bad) {
            code = tree[(peek16() & mask) ? 1 : 0][code];
            mask >>= 1;
            bad = mask == 0 && code >= unsigned(symbols);
        }
        return bad ? 0 : code;
    }
    unsigned decodeC();
    unsigned decodePosition();
};

// Canonical Huffman codes of the given lengths: the first `tableBits` bits look up a symbol or a
// tree node, the rest walk the tree. False for lengths that make no complete code.
bool Decoder::makeTable(int symbols, const unsigned char* lengths, int tableBits, uint16_t* table) {
    uint32_t count[17] = {}, start[18] = {}, weight[17] = {};
    for (int i = 0; i < symbols; ++i) {
        if (lengths[i] > 16)
            return false;
        ++count[lengths[i]];
    }
    for (int i = 1; i <= 16; ++i)
        start[i + 1] = start[i] + (count[i] << (16 - i));
    if (start[17] != (1u << 16))
        return false;
    const int jut = 16 - tableBits;
    for (int i = 1; i <= tableBits; ++i) {
        start[i] >>= jut;
        weight[i] = 1u << (tableBits - i);
    }
    for (int i = tableBits + 1; i <= 16; ++i)
        weight[i] = 1u << (16 - i);
    for (uint32_t i = start[tableBits + 1] >> jut; i < (1u << tableBits); ++i)
        table[i] = 0;
    unsigned avail = unsigned(symbols);
    const uint32_t mask = 1u << (15 - tableBits);
    for (int symbol = 0; symbol < symbols; ++symbol) {
        const int len = lengths[symbol];
        if (len == 0)
            continue;
        const uint32_t next = start[len] + weight[len];
        if (len <= tableBits) {
            for (uint32_t i = start[len]; i < next; ++i)
                table[i] = uint16_t(symbol);
        } else {
            uint32_t k = start[len];
            uint16_t* p = &table[k >> jut];
            for (int i = len - tableBits; i > 0; --i) {
                if (*p == 0) {
                    if (avail >= 2 * unsigned(NC))
                        return false;
                    tree[0][avail] = tree[1][avail] = 0;
                    *p = uint16_t(avail++);
                }
                p = &tree[(k & mask) ? 1 : 0][*p];
                k <<= 1;
            }
            *p = uint16_t(symbol);
        }
        start[len] = next;
    }
    return true;
}

void Decoder::readPtLengths(int symbols, int countBits, int special) {
    const int n = int(get(countBits));
    if (n == 0) {
        const unsigned c = get(countBits);
        bad = bad || c >= unsigned(symbols);
        std::memset(ptLen, 0, sizeof ptLen);
        for (uint16_t& t : ptTable)
            t = uint16_t(c);
        return;
    }
    if (n > symbols) {
        bad = true;
        return;
    }
    int i = 0;
    while (i < n) {
        int c = int(peek16() >> 13);
        if (c == 7) {
            for (unsigned mask = 1u << 12; (peek16() & mask) && c < 16; mask >>= 1)
                ++c;
        }
        skip(c < 7 ? 3 : c - 3);
        ptLen[i++] = static_cast<unsigned char>(c);
        if (i == special)
            for (int zeros = int(get(2)); zeros > 0 && i < symbols; --zeros)
                ptLen[i++] = 0;
    }
    while (i < symbols)
        ptLen[i++] = 0;
    bad = bad || !makeTable(symbols, ptLen, PtTableBits, ptTable);
}

void Decoder::readCLengths() {
    const int n = int(get(CBits));
    if (n == 0) {
        const unsigned c = get(CBits);
        bad = bad || c >= unsigned(NC);
        std::memset(cLen, 0, sizeof cLen);
        for (uint16_t& t : cTable)
            t = uint16_t(c);
        return;
    }
    if (n > NC) {
        bad = true;
        return;
    }
    int i = 0;
    while (i < n && !bad) {
        const unsigned c = walk(ptTable[peek16() >> 8], NT, 1u << 7);
        skip(ptLen[c]);
        if (c > 2) {
            cLen[i++] = static_cast<unsigned char>(c - 2);
            continue;
        }
        int zeros = c == 0 ? 1 : c == 1 ? int(get(4)) + 3 : int(get(CBits)) + 20;
        for (; zeros > 0 && i < NC; --zeros)
            cLen[i++] = 0;
    }
    while (i < NC)
        cLen[i++] = 0;
    bad = bad || !makeTable(NC, cLen, CTableBits, cTable);
}

unsigned Decoder::decodeC() {
    if (blockLeft == 0) {
        blockLeft = uint16_t(get(16));
        readPtLengths(NT, TBits, 3);
        readCLengths();
        readPtLengths(NP, PBits, -1);
    }
    --blockLeft;
    const unsigned c = walk(cTable[peek16() >> 4], NC, 1u << 3);
    skip(cLen[c]);
    return c;
}

unsigned Decoder::decodePosition() {
    const unsigned p = walk(ptTable[peek16() >> 8], NP, 1u << 7);
    skip(ptLen[p]);
    return p == 0 ? 0 : (1u << (p - 1)) + get(int(p) - 1);
}

struct Output {
    LeanSink out;
    uint16_t crc = 0;
    uint32_t written = 0;
    bool failed = false;
    void put(const unsigned char* p, size_t n) {
        crc = archive::UpdateCrc16(crc, p, n);
        written += uint32_t(n);
        failed = failed || (n > 0 && !out.write(out.to, p, n));
    }
};

// The window of the last 8 KiB written, passed on to the output each time it fills.
struct Window {
    Decoder& d;
    Output& out;
    int at = 0;
    void put(unsigned char c) {
        d.window[at++] = c;
        if (at == Dictionary) {
            out.put(d.window, size_t(at));
            at = 0;
        }
    }
    unsigned char back(unsigned distance) const { return d.window[(at - int(distance)) & (Dictionary - 1)]; }
};

bool ExpandLh5(Decoder& d, uint32_t size, Output& out) {
    Window window{d, out};
    uint32_t done = 0;
    while (done < size && !d.bad && d.overrun <= 4) {
        const unsigned c = d.decodeC();
        if (c < 256) {
            window.put(static_cast<unsigned char>(c));
            ++done;
            continue;
        }
        const uint32_t length = c - 253;
        const unsigned distance = d.decodePosition() + 1;
        if (length > size - done || distance > done || distance > unsigned(Dictionary))
            return false;
        for (uint32_t k = 0; k < length; ++k)
            window.put(window.back(distance));
        done += length;
    }
    out.put(d.window, size_t(window.at));
    return done == size && !d.bad && d.overrun <= 4;
}

} // namespace

LeanRead ReadLeanMember(std::FILE* file, uint64_t offset, uint64_t fileSize, LeanMember& member,
                        const char*& why) {
    if (offset == fileSize)
        return LeanRead::End;
    unsigned char h[2 + 255];
    why = "a member header is cut short";
    if (SeekTo(file, offset) != 0 || std::fread(h, 1, 1, file) != 1)
        return LeanRead::Damaged;
    const int size = h[0];
    if (size < 22 || fileSize - offset < uint64_t(size) + 2 ||
        std::fread(h + 1, 1, size_t(size) + 1, file) != size_t(size) + 1)
        return LeanRead::Damaged;
    unsigned sum = 0;
    for (int i = 2; i < size + 2; ++i)
        sum += h[i];
    why = "Bad checksum in a member header";
    if ((sum & 0xFF) != h[1])
        return LeanRead::Damaged;
    // The method's name is compared letter by letter: the text whole in the head would look like a
    // member header to LHA readers searching the package for its first member.
    why = "a member is not of the kind a package holds (level 0, method 5 or 0)";
    if (h[20] != 0 || h[2] != '-' || h[3] != 'l' || h[4] != 'h' || (h[5] != '5' && h[5] != '0') ||
        h[6] != '-')
        return LeanRead::Damaged;
    const int nameLength = h[21];
    why = "a member header is damaged";
    if (22 + nameLength + 2 > size + 2)
        return LeanRead::Damaged;
    std::memcpy(member.name, h + 22, size_t(nameLength));
    member.name[nameLength] = '\0';
    why = "a member name would leave the show's folder";
    if (std::strlen(member.name) != size_t(nameLength) || !PlainName(member.name))
        return LeanRead::Damaged;
    member.stored = h[5] == '0';
    member.packed = Le(h + 7, 4);
    member.original = Le(h + 11, 4);
    member.crc = uint16_t(Le(h + 22 + nameLength, 2));
    member.data = offset + uint64_t(size) + 2;
    member.next = member.data + member.packed;
    why = "a member's data runs past the end of the file (is the file cut short?)";
    if (member.next > fileSize || (member.stored && member.packed != member.original))
        return LeanRead::Damaged;
    return LeanRead::Member;
}

bool RepeatsAName(const LeanMember* before, int count, const LeanMember& member) {
    for (int i = 0; i < count; ++i)
        if (MemberNames::same(before[i].name, member.name))
            return true;
    return false;
}

bool ExpandLeanMember(std::FILE* file, const LeanMember& member, LeanSink out, const char*& why) {
    why = "cannot read the package";
    if (SeekTo(file, member.data) != 0)
        return false;
    void* memory = std::malloc(sizeof(Decoder));
    if (!memory) {
        why = "out of memory";
        return false;
    }
    auto* d = new (memory) Decoder();
    d->in = file;
    d->left = member.packed;
    Output o{out};
    bool ok = true;
    if (member.stored) {
        for (uint32_t left = member.packed; left > 0 && ok;) {
            const size_t n = std::fread(d->input, 1, left < Buffer ? left : Buffer, file);
            o.put(d->input, n);
            left -= uint32_t(n);
            ok = n > 0;
        }
    } else {
        ok = ExpandLh5(*d, member.original, o);
    }
    d->~Decoder();
    std::free(memory);
    why = o.failed ? "cannot write the show" : "Bad CRC";
    return ok && !o.failed && o.written == member.original && o.crc == member.crc;
}

} // namespace verasco::head
