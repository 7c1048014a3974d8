// SPDX-License-Identifier: MIT
#include "exact_numbers.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace ShowExtension {
namespace {

// A held number is the string of this prefix and its text; the prefix, unique to this run of the
// program, starts with a control character that no JSON string holds unescaped.
const QByteArray& heldPrefix() {
    static const QByteArray prefix =
        "\x1fvrsx-number " + QByteArray::number(QRandomGenerator::system()->generate64(), 16) + ' ';
    return prefix;
}

// A number's value as its sign, its significant digits and the power of ten of the first of them.
struct Decimal {
    bool negative = false;
    QByteArray digits;
    long long power = 0;
    bool operator==(const Decimal&) const = default;
};

std::optional<Decimal> decimalOf(QByteArrayView text) {
    Decimal value;
    qsizetype at = 0;
    value.negative = text.startsWith('-');
    at += value.negative ? 1 : 0;
    long long point = 0;
    bool seenPoint = false;
    for (; at < text.size() && (std::isdigit(uchar(text[at])) || text[at] == '.'); ++at) {
        if (text[at] == '.') {
            seenPoint = true;
        } else {
            value.digits.append(text[at]);
            point += seenPoint ? 0 : 1;
        }
    }
    long long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        QByteArrayView rest = text.sliced(at + 1);
        if (rest.startsWith('+'))
            rest = rest.sliced(1);
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
        if (error != std::errc() || end != rest.data() + rest.size() || std::abs(exponent) > 100000)
            return std::nullopt;
    } else if (at != text.size()) {
        return std::nullopt;
    }
    qsizetype first = 0;
    while (first < value.digits.size() && value.digits[first] == '0')
        ++first;
    value.digits.remove(0, first);
    while (value.digits.endsWith('0'))
        value.digits.chop(1);
    value.power = value.digits.isEmpty() ? 0 : point - first + exponent;
    return value;
}

// Whether the double that `text` reads as is written back as the same value. A decimal of at most
// 15 significant digits always is (a double tells apart every two such decimals in its range).
bool keptExactly(QByteArrayView text) {
    const std::optional<Decimal> written = decimalOf(text);
    if (!written || (written->digits.isEmpty() && written->negative))
        return false;
    if (written->digits.size() <= 15 && written->power > -300 && written->power < 300)
        return true;
    bool read = false;
    const double value = text.toByteArray().toDouble(&read);
    if (!read)
        return false;
    char shortest[64];
    const auto [last, failed] = std::to_chars(shortest, shortest + sizeof shortest, value);
    return failed == std::errc() && decimalOf(QByteArrayView(shortest, last - shortest)) == written;
}

class Scanner {
  public:
    explicit Scanner(QByteArrayView in) : in_(in) { out_.reserve(in.size()); }

    ScannedJson run() {
        while (at_ < in_.size() && error_.isEmpty())
            step();
        if (error_.isEmpty())
            return {out_, {}};
        return {{}, error_};
    }

  private:
    void step() {
        const char c = in_[at_];
        if (c == '"')
            return string();
        if (c == '-' || (c >= '0' && c <= '9'))
            return number();
        if (c == '[' || c == '{') {
            if (++depth_ > MaxDepth)
                return refuse(QT_TRANSLATE_NOOP("ShowExtension", "its lists are nested too deeply"));
            counted();
        } else if (c == ']' || c == '}') {
            --depth_;
        } else if (c == 't' || c == 'f' || c == 'n') {
            counted();
            for (; at_ + 1 < in_.size() && std::isalpha(uchar(in_[at_ + 1])); ++at_)
                out_.append(in_[at_]);
            out_.append(in_[at_++]);
            return;
        }
        out_.append(c);
        ++at_;
    }

    void string() {
        const qsizetype start = at_++;
        while (at_ < in_.size() && in_[at_] != '"')
            at_ += in_[at_] == '\\' ? 2 : 1;
        at_ = std::min(at_ + 1, in_.size());
        out_.append(in_.sliced(start, at_ - start));
        counted();
    }

    void number() {
        const qsizetype start = at_;
        while (at_ < in_.size() &&
               (std::isdigit(uchar(in_[at_])) || QByteArrayView("+-.eE").contains(in_[at_])))
            ++at_;
        const QByteArrayView text = in_.sliced(start, at_ - start);
        if (keptExactly(text))
            out_.append(text);
        else
            out_.append('"' + heldPrefix() + text.toByteArray() + '"');
        counted();
    }

    void counted() {
        if (++values_ > MaxValues)
            refuse(QT_TRANSLATE_NOOP("ShowExtension", "it holds too many values"));
    }

    void refuse(const char* why) {
        error_ = QCoreApplication::translate("ShowExtension", why);
        at_ = in_.size();
    }

    QByteArrayView in_;
    qsizetype at_ = 0;
    int depth_ = 0;
    qint64 values_ = 0;
    QByteArray out_;
    QString error_;
};

} // namespace

ScannedJson holdInexactNumbers(QByteArrayView json) {
    return Scanner(json).run();
}

QByteArray restoreHeldNumbers(QByteArray written) {
    // A control character is written escaped: the held string appears as "\u001f...".
    const QByteArray opening = "\"\\u001f" + heldPrefix().sliced(1);
    qsizetype at = written.indexOf(opening);
    if (at < 0)
        return written;
    QByteArray restored;
    restored.reserve(written.size());
    qsizetype done = 0;
    for (; at >= 0; at = written.indexOf(opening, done)) {
        const qsizetype close = written.indexOf('"', at + opening.size());
        if (close < 0)
            break;
        restored.append(QByteArrayView(written).sliced(done, at - done));
        restored.append(QByteArrayView(written).sliced(at + opening.size(), close - at - opening.size()));
        done = close + 1;
    }
    restored.append(QByteArrayView(written).sliced(done));
    return restored;
}

} // namespace ShowExtension
