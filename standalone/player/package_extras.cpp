// SPDX-License-Identifier: MIT
#include "package_extras.h"

#include "package_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace PackageExtras {
namespace {

constexpr char Tag[] = "VRSX";
constexpr std::size_t PrefixSize = 8;
constexpr std::size_t MaxBytes = 16 * 1024 * 1024;
constexpr int MaxDepth = 64;
constexpr int MaxFadeMs = 60000;

struct Value {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    double number = 0;
    std::string text;
    std::vector<Value> items;
    // An object's members: their keys, and their values in the same order.
    std::vector<std::string> keys;
    std::vector<Value> values;

    const Value* find(std::string_view key) const {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return &values[i];
        return nullptr;
    }
};

// JSON as RFC 8259 writes it; any fault makes the whole text unreadable.
class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    bool document(Value& out) {
        if (!value(out, 0))
            return false;
        space();
        return at_ == s_.size();
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

    bool value(Value& out, int depth) {
        space();
        if (at_ >= s_.size() || depth > MaxDepth)
            return false;
        const char c = s_[at_];
        if (c == '{')
            return object(out, depth);
        if (c == '[')
            return array(out, depth);
        if (c == '"') {
            out.type = Value::Type::String;
            return string(out.text);
        }
        if (c == 't' || c == 'f') {
            out.type = Value::Type::Bool;
            out.number = c == 't';
            return word(c == 't' ? "true" : "false");
        }
        if (c == 'n')
            return word("null");
        return number(out);
    }

    bool object(Value& out, int depth) {
        out.type = Value::Type::Object;
        ++at_;
        if (take('}'))
            return true;
        do {
            std::string key;
            Value member;
            space();
            if (at_ >= s_.size() || s_[at_] != '"' || !string(key) || !take(':') || !value(member, depth + 1))
                return false;
            out.keys.push_back(std::move(key));
            out.values.push_back(std::move(member));
        } while (take(','));
        return take('}');
    }

    bool array(Value& out, int depth) {
        out.type = Value::Type::Array;
        ++at_;
        if (take(']'))
            return true;
        do {
            out.items.emplace_back();
            if (!value(out.items.back(), depth + 1))
                return false;
        } while (take(','));
        return take(']');
    }

    bool number(Value& out) {
        const std::size_t start = at_;
        while (at_ < s_.size() && std::strchr("+-.0123456789eE", s_[at_]) && s_[at_])
            ++at_;
        if (at_ == start)
            return false;
        const std::string digits(s_.substr(start, at_ - start));
        char* end = nullptr;
        out.type = Value::Type::Number;
        out.number = std::strtod(digits.c_str(), &end);
        return end == digits.c_str() + digits.size();
    }

    static void appendUtf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
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

    bool escape(std::string& out) {
        if (at_ >= s_.size())
            return false;
        const char e = s_[at_++];
        const char* plain = std::strchr("\"\\/bfnrt", e);
        if (plain && e) {
            out += "\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"];
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

    bool string(std::string& out) {
        ++at_;
        while (at_ < s_.size()) {
            const char c = s_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\')
                out += c;
            else if (!escape(out))
                return false;
        }
        return false;
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

// A frame as every player accepts it.
std::optional<Frame> FrameOf(const Value* value) {
    if (!value || value->type != Value::Type::Array || value->items.size() != 4)
        return std::nullopt;
    double v[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const Value& item = value->items[i];
        if (item.type != Value::Type::Number)
            return std::nullopt;
        v[i] = item.number;
    }
    return ShowRules::frameOf(v);
}

std::optional<Motion> MotionOf(const Value& slide) {
    const Value* motion = slide.find("motion");
    if (!motion || motion->type != Value::Type::Object)
        return std::nullopt;
    const std::optional<Frame> from = FrameOf(motion->find("from")), to = FrameOf(motion->find("to"));
    if (!from || !to)
        return std::nullopt;
    return Motion{*from, *to};
}

// The slides' motions and captions; false when "slides" is there but not one object for each slide.
bool ReadSlides(const Value& show, int count, Extras& extras) {
    extras.motions.assign(std::size_t(std::max(count, 0)), std::nullopt);
    extras.captions.assign(extras.motions.size(), std::string());
    const Value* slides = show.find("slides");
    if (!slides)
        return true;
    if (slides->type != Value::Type::Array || slides->items.size() != extras.motions.size())
        return false;
    for (std::size_t i = 0; i < slides->items.size(); ++i) {
        if (slides->items[i].type != Value::Type::Object)
            return false;
        extras.motions[i] = MotionOf(slides->items[i]);
        if (const Value* caption = slides->items[i].find("caption");
            caption && caption->type == Value::Type::String)
            extras.captions[i] = caption->text;
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
    Value show;
    if (!Parser(block.substr(PrefixSize, length)).document(show) || show.type != Value::Type::Object)
        return std::nullopt;
    Extras extras;
    if (!ReadSlides(show, count, extras))
        return std::nullopt;
    if (const Value* music = show.find("music"); music && music->type == Value::Type::Array)
        for (const Value& entry : music->items)
            if (const Value* path = entry.find("path");
                path && path->type == Value::Type::String && !path->text.empty())
                extras.music.push_back(path->text);
    if (const Value* fade = show.find("musicFadeMs"); fade && fade->type == Value::Type::Number)
        extras.fadeMs = int(std::clamp(fade->number, 0.0, double(MaxFadeMs)));
    return extras;
}

std::optional<Extras> Load(const std::string& folder, int count) {
    const std::string path = FolderFile(folder, "images.vrx");
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (path.empty() || !in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0 || std::uint64_t(size) > PrefixSize + MaxBytes)
        return std::nullopt;
    std::string block(std::size_t(size), '\0');
    in.seekg(0);
    if (!in.read(block.data(), size))
        return std::nullopt;
    return Read(block, count);
}

} // namespace PackageExtras
