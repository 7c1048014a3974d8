// SPDX-License-Identifier: MIT
#include "package_extras.h"

#include "music_level.h"
#include "package_files.h"
#include "show_block_limits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace PackageExtras {
namespace {

constexpr char Tag[] = "VRSX";
constexpr std::size_t PrefixSize = 8;
constexpr std::size_t MaxBytes = ShowBlockLimits::MaxBytes;
constexpr int MaxFadeMs = 60000;

// One value of the block's JSON, in the text's order: the values of an array or object (an
// object's keys and values by turns) follow it, and `next` is the index of the value after them
// all. A string keeps its text as written, read when it is asked for.
struct Token {
    enum class Type : unsigned char { Null, Bool, Number, String, Array, Object } type = Type::Null;
    std::uint32_t start = 0; // a string's opening quote
    std::uint32_t next = 0;
    std::uint32_t count = 0; // an array's items, an object's keys and values
    double number = 0;
};

// JSON as RFC 8259 writes it, within the limits of a show's block, read into a flat list of
// tokens; any fault makes the whole text unreadable.
class Parser {
  public:
    Parser(std::string_view text, std::vector<Token>& tokens) : s_(text), tokens_(tokens) {}

    bool document() {
        if (!value(0))
            return false;
        space();
        return at_ == s_.size();
    }

    // The text of a string token.
    static std::string text(std::string_view json, const Token& token) {
        std::vector<Token> none;
        Parser p(json, none);
        p.at_ = token.start;
        std::string out;
        return p.string(&out) ? out : std::string();
    }

  private:
    void space() {
        while (at_ < s_.size() && std::strchr(" \t\r\n", s_[at_]) && s_[at_])
            ++at_;
    }
    bool take(char c) {
        space();
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w)
            return false;
        at_ += w.size();
        return true;
    }
    // A new token of that type here, or none beyond the most values a block may hold.
    bool add(Token::Type type) {
        if (tokens_.size() >= std::size_t(ShowBlockLimits::MaxValues))
            return false;
        tokens_.push_back({type, std::uint32_t(at_), 0, 0, 0});
        return true;
    }

    bool value(int depth) {
        space();
        if (at_ >= s_.size())
            return false;
        const std::size_t index = tokens_.size();
        const char c = s_[at_];
        if (!add(c == '{'               ? Token::Type::Object
                 : c == '['             ? Token::Type::Array
                 : c == '"'             ? Token::Type::String
                 : c == 't' || c == 'f' ? Token::Type::Bool
                 : c == 'n'             ? Token::Type::Null
                                        : Token::Type::Number))
            return false;
        bool ok = false;
        if (c == '{' || c == '[') {
            ok = depth < ShowBlockLimits::MaxDepth &&
                 (c == '{' ? object(index, depth + 1) : array(index, depth + 1));
        } else if (c == '"') {
            ok = string(nullptr);
        } else if (c == 't' || c == 'f') {
            tokens_[index].number = c == 't';
            ok = word(c == 't' ? "true" : "false");
        } else {
            ok = c == 'n' ? word("null") : readNumber(tokens_[index].number);
        }
        tokens_[index].next = std::uint32_t(tokens_.size());
        return ok;
    }

    bool object(std::size_t index, int depth) {
        ++at_;
        if (take('}'))
            return true;
        do {
            space();
            if (at_ >= s_.size() || s_[at_] != '"' || !value(depth) || !take(':') || !value(depth))
                return false;
            tokens_[index].count += 2;
        } while (take(','));
        return take('}');
    }

    bool array(std::size_t index, int depth) {
        ++at_;
        if (take(']'))
            return true;
        do {
            if (!value(depth))
                return false;
            ++tokens_[index].count;
        } while (take(','));
        return take(']');
    }

    bool readNumber(double& out) {
        const std::size_t start = at_;
        while (at_ < s_.size() && std::strchr("+-.0123456789eE", s_[at_]) && s_[at_])
            ++at_;
        if (at_ == start)
            return false;
        const std::string digits(s_.substr(start, at_ - start));
        char* end = nullptr;
        out = std::strtod(digits.c_str(), &end);
        return end == digits.c_str() + digits.size();
    }

    static void appendUtf8(std::string* out, std::uint32_t c) {
        if (!out)
            return;
        if (c < 0x80) {
            *out += char(c);
        } else if (c < 0x800) {
            *out += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            *out += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
        } else {
            *out += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
                     char(0x80 | (c & 0x3F))};
        }
    }

    bool hex4(std::uint32_t& c) {
        if (s_.size() - at_ < 4)
            return false;
        c = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[at_++];
            const int v = h >= '0' && h <= '9'   ? h - '0'
                          : h >= 'a' && h <= 'f' ? h - 'a' + 10
                          : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                 : -1;
            if (v < 0)
                return false;
            c = c << 4 | std::uint32_t(v);
        }
        return true;
    }

    bool escape(std::string* out) {
        if (at_ >= s_.size())
            return false;
        const char e = s_[at_++];
        const char* plain = std::strchr("\"\\/bfnrt", e);
        if (plain && e) {
            appendUtf8(out, std::uint32_t("\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"]));
            return true;
        }
        std::uint32_t c = 0;
        if (e != 'u' || !hex4(c))
            return false;
        if (c >= 0xD800 && c < 0xDC00) {
            std::uint32_t low = 0;
            if (!word("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, c);
        return true;
    }

    // Reads the string at the quote here; its text goes to `out` where one is given.
    bool string(std::string* out) {
        ++at_;
        while (at_ < s_.size()) {
            const char c = s_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                if (out)
                    *out += c;
            } else if (!escape(out)) {
                return false;
            }
        }
        return false;
    }

    std::string_view s_;
    std::vector<Token>& tokens_;
    std::size_t at_ = 0;
};

// The block's values, and the few things asked of them.
struct Json {
    std::string_view text;
    std::vector<Token> tokens;

    const Token& operator[](std::size_t i) const { return tokens[i]; }
    bool is(std::size_t i, Token::Type type) const { return i < tokens.size() && tokens[i].type == type; }
    // The values of an array, or the keys and values of an object.
    std::vector<std::size_t> items(std::size_t i) const {
        std::vector<std::size_t> out;
        for (std::size_t at = i + 1; out.size() < tokens[i].count; at = tokens[at].next)
            out.push_back(at);
        return out;
    }
    // The index of the value of `key` in the object at `i`; tokens.size() for none.
    std::size_t find(std::size_t i, std::string_view key) const {
        const std::vector<std::size_t> members = items(i);
        for (std::size_t k = 0; k + 1 < members.size(); k += 2)
            if (Parser::text(text, tokens[members[k]]) == key)
                return members[k + 1];
        return tokens.size();
    }
};

// A frame as every player accepts it.
std::optional<Frame> FrameOf(const Json& json, std::size_t value) {
    if (!json.is(value, Token::Type::Array) || json[value].count != 4)
        return std::nullopt;
    double v[4];
    const std::vector<std::size_t> items = json.items(value);
    for (std::size_t i = 0; i < 4; ++i) {
        if (!json.is(items[i], Token::Type::Number))
            return std::nullopt;
        v[i] = json[items[i]].number;
    }
    return ShowRules::frameOf(v);
}

std::optional<Motion> MotionOf(const Json& json, std::size_t slide) {
    const std::size_t motion = json.find(slide, "motion");
    if (!json.is(motion, Token::Type::Object))
        return std::nullopt;
    const std::optional<Frame> from = FrameOf(json, json.find(motion, "from")),
                               to = FrameOf(json, json.find(motion, "to"));
    if (!from || !to)
        return std::nullopt;
    return Motion{*from, *to};
}

// The change an object holds: none without a kind.
std::optional<ShowRules::Transition> TransitionOf(const Json& json, std::size_t object) {
    const std::size_t value = json.find(object, "transition");
    const std::size_t kind =
        json.is(value, Token::Type::Object) ? json.find(value, "kind") : json.tokens.size();
    if (!json.is(kind, Token::Type::String))
        return std::nullopt;
    ShowRules::Transition transition;
    transition.kind = ShowRules::transitionKindOf(Parser::text(json.text, json[kind]));
    if (const std::size_t ms = json.find(value, "ms"); json.is(ms, Token::Type::Number))
        transition.ms = std::int64_t(std::clamp(json[ms].number, 0.0, double(ShowRules::MaxTransitionMs)));
    return transition;
}

// The look's words of the object at `level`, kept in `texts`.
ShowRules::LookWords WordsOf(const Json& json, std::size_t level, std::string (&texts)[3]) {
    const char* keys[] = {"fill", "fillColour", "captionPlace"};
    for (std::size_t k = 0; k < 3; ++k)
        if (const std::size_t value = json.find(level, keys[k]); json.is(value, Token::Type::String))
            texts[k] = Parser::text(json.text, json[value]);
    return {texts[0], texts[1], texts[2]};
}

// The slides' motions, captions, times, changes, looks and title marks; false when "slides" is there but not
// one object for each slide.
bool ReadSlides(const Json& json, int count, Extras& extras) {
    extras.motions.assign(std::size_t(std::max(count, 0)), std::nullopt);
    extras.captions.assign(extras.motions.size(), std::string());
    extras.times.assign(extras.motions.size(), -1);
    extras.transitions.assign(extras.motions.size(), TransitionOf(json, 0));
    std::string showTexts[3];
    const ShowRules::LookWords show = WordsOf(json, 0, showTexts);
    extras.looks.assign(extras.motions.size(), ShowRules::lookOf(show, {}));
    extras.titles.assign(extras.motions.size(), false);
    const std::size_t slides = json.find(0, "slides");
    if (slides == json.tokens.size())
        return true;
    if (!json.is(slides, Token::Type::Array) || json[slides].count != extras.motions.size())
        return false;
    const std::vector<std::size_t> items = json.items(slides);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!json.is(items[i], Token::Type::Object))
            return false;
        extras.motions[i] = MotionOf(json, items[i]);
        if (const std::optional<ShowRules::Transition> own = TransitionOf(json, items[i]))
            extras.transitions[i] = own;
        std::string texts[3];
        extras.looks[i] = ShowRules::lookOf(show, WordsOf(json, items[i], texts));
        if (const std::size_t caption = json.find(items[i], "caption"); json.is(caption, Token::Type::String))
            extras.captions[i] = Parser::text(json.text, json[caption]);
        if (const std::size_t ms = json.find(items[i], "ms"); json.is(ms, Token::Type::Number))
            extras.times[i] = std::int64_t(std::clamp(json[ms].number, -1.0, 1e9));
        const std::size_t title = json.find(items[i], "title");
        extras.titles[i] = json.is(title, Token::Type::Bool) && json[title].number != 0;
    }
    return true;
}

} // namespace

std::optional<Extras> Read(std::string_view block, int count) {
    if (block.size() < PrefixSize || block.substr(0, 4) != std::string_view(Tag, 4))
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(block.data()) + 4;
    const std::size_t length =
        std::size_t(p[0]) | std::size_t(p[1]) << 8 | std::size_t(p[2]) << 16 | std::size_t(p[3]) << 24;
    if (length > MaxBytes || length > block.size() - PrefixSize)
        return std::nullopt;
    Json json{block.substr(PrefixSize, length), {}};
    if (!Parser(json.text, json.tokens).document() || !json.is(0, Token::Type::Object))
        return std::nullopt;
    Extras extras;
    if (!ReadSlides(json, count, extras))
        return std::nullopt;
    if (const std::size_t music = json.find(0, "music"); json.is(music, Token::Type::Array))
        for (const std::size_t entry : json.items(music))
            if (const std::size_t path =
                    json.is(entry, Token::Type::Object) ? json.find(entry, "path") : json.tokens.size();
                json.is(path, Token::Type::String))
                if (std::string name = Parser::text(json.text, json[path]); !name.empty())
                    extras.music.push_back(std::move(name));
    if (const std::size_t fade = json.find(0, "musicFadeMs"); json.is(fade, Token::Type::Number))
        extras.fadeMs = int(std::clamp(json[fade].number, 0.0, double(MaxFadeMs)));
    if (const std::size_t level = json.find(0, "musicLevel"); json.is(level, Token::Type::Number))
        extras.musicLevel =
            std::clamp(json[level].number, 0.0, double(MusicLevel::FullLevel)) / MusicLevel::FullLevel;
    return extras;
}

std::optional<Extras> Load(const std::string& folder, int count) {
    const std::string path = FolderFile(folder, "images.vrx");
    std::string block, why;
    if (path.empty() || !ReadFileBytes(path, PrefixSize + MaxBytes + 1, block, why) ||
        block.size() > PrefixSize + MaxBytes)
        return std::nullopt;
    return Read(block, count);
}

} // namespace PackageExtras
