// SPDX-License-Identifier: MIT
#include "slide_sorting.h"

#include "date_taken.h"
#include "show_document.h"
#include "show_file.h"
#include "work_wait.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <future>
#include <optional>
#include <vector>

namespace SlideSorting {

namespace {

const char* const SortStepName = QT_TRANSLATE_NOOP("SlideSorting", "Sort Slides");

// A run of digits from `at` on, without its leading zeros.
QStringView digitRun(const QString& s, qsizetype& at) {
    while (at < s.size() && s[at] == u'0' && at + 1 < s.size() && s[at + 1].isDigit())
        ++at;
    const qsizetype start = at;
    while (at < s.size() && s[at].isDigit())
        ++at;
    return QStringView(s).sliced(start, at - start);
}

int compareRuns(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = digitRun(a, i);
            const QStringView y = digitRun(b, j);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0)
                return c;
            continue;
        }
        const char32_t x = a[i].toCaseFolded().unicode();
        const char32_t y = b[j].toCaseFolded().unicode();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    return (i < a.size()) - (j < b.size());
}

// The slide's sort key, or nothing for a slide without a picture.
struct Keyed {
    int place;
    std::optional<qint64> date;
    QString name;
    QString path;
};

bool hasPicture(const ShowDocument& show, int index) {
    return !show.isBlank(index) && !show.isMissing(index);
}

// When the pictures at `paths` were taken, read on a thread of its own while this one waits with the
// windows painting: reading a few hundred files' heads takes a while, on a network folder seconds.
QHash<QString, std::optional<qint64>> datesTaken(const QStringList& paths) {
    if (paths.isEmpty())
        return {};
    std::future<QHash<QString, std::optional<qint64>>> work = std::async(std::launch::async, [paths] {
        QHash<QString, std::optional<qint64>> dates;
        for (const QString& path : paths)
            dates.insert(path, imaging::dateTaken(path));
        return dates;
    });
    imaging::waitForWork([&work](int ms) {
        return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    });
    return work.get();
}

std::vector<Keyed> keysOf(const ShowDocument& show, const QList<int>& indices, Order order) {
    QStringList pictures;
    for (int index : indices)
        if (order == Order::DateTaken && hasPicture(show, index))
            pictures.append(show.imagePath(index));
    const QHash<QString, std::optional<qint64>> dates = datesTaken(pictures);
    std::vector<Keyed> keyed;
    for (int index : indices) {
        Keyed k{index, std::nullopt, {}, show.imagePath(index)};
        const bool picture = hasPicture(show, index);
        if (picture && order == Order::DateTaken)
            k.date = dates.value(k.path);
        if (picture && order == Order::Name)
            k.name = ShowFile::fileNamePart(k.path);
        keyed.push_back(std::move(k));
    }
    return keyed;
}

// The places in the order the slides are to stand.
std::vector<int> sortedPlaces(const ShowDocument& show, const QList<int>& indices, Order order) {
    std::vector<Keyed> keyed = keysOf(show, indices, order);
    if (order == Order::Reverse) {
        std::reverse(keyed.begin(), keyed.end());
    } else if (order == Order::DateTaken) {
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return a.date.has_value() != b.date.has_value() ? a.date.has_value() : a.date < b.date;
        });
    } else {
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            if (a.name.isEmpty() != b.name.isEmpty())
                return b.name.isEmpty();
            const int byName = naturalCompare(a.name, b.name);
            return byName != 0 ? byName < 0 : naturalCompare(a.path, b.path) < 0;
        });
    }
    std::vector<int> places;
    for (const Keyed& k : keyed)
        places.push_back(k.place);
    return places;
}

// Exchanges the slides at `a` < `b` with two moves, which leave the slides between in place.
void exchange(ShowDocument& show, int a, int b) {
    show.move(a, b);
    show.move(b - 1, a);
}

} // namespace

int naturalCompare(const QString& a, const QString& b) {
    if (const int c = compareRuns(a, b); c != 0)
        return c;
    // Equal but for leading zeros or case: an order all the same, so that sorting is repeatable.
    if (const int c = a.compare(b, Qt::CaseInsensitive); c != 0)
        return c;
    return a.compare(b);
}

QList<int> allSlides(const ShowDocument& show) {
    QList<int> all;
    for (int i = 0; i < show.SlideCount; ++i)
        all.append(i);
    return all;
}

void sortSlides(ShowDocument& show, QList<int> indices, Order order) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    indices.removeIf([&show](int i) { return i < 0 || i >= show.SlideCount; });
    const std::vector<int> wanted = sortedPlaces(show, indices, order);
    // standing[k]: the place the slide now at indices[k] held before the sort.
    std::vector<int> standing(indices.begin(), indices.end());
    const ShowDocument::Step step(show, QCoreApplication::translate("SlideSorting", SortStepName));
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        const auto from = std::find(standing.begin() + qsizetype(k), standing.end(), wanted[k]);
        const std::size_t q = std::size_t(from - standing.begin());
        if (q == k)
            continue;
        exchange(show, indices[qsizetype(k)], indices[qsizetype(q)]);
        std::swap(standing[k], standing[q]);
    }
}

} // namespace SlideSorting
