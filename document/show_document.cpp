// SPDX-License-Identifier: MIT
#include "show_document.h"

#include "show_step.h"
#include "stored_path.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

namespace {
const QImage NoThumbnail;
const QJsonObject NoExtra;

const char* const AddSlides = QT_TRANSLATE_NOOP("ShowDocument", "Add Slides");
const char* const DeleteSlides = QT_TRANSLATE_NOOP("ShowDocument", "Delete Slides");
const char* const MoveSlide = QT_TRANSLATE_NOOP("ShowDocument", "Move Slide");
const char* const MoveSlides = QT_TRANSLATE_NOOP("ShowDocument", "Move Slides");
const char* const ChangeSlides = QT_TRANSLATE_NOOP("ShowDocument", "Change Slides");
const char* const ChangeShow = QT_TRANSLATE_NOOP("ShowDocument", "Change Show");

QString stepName(const char* name) {
    return QCoreApplication::translate("ShowDocument", name);
}

// The same record, the same thumbnail and the same data.
bool sameSlide(const ShowSlide& a, const ShowSlide& b) {
    return sameRecord(a.record, b.record) && a.thumbnail == b.thumbnail && a.extra == b.extra;
}
} // namespace

bool sameRecord(const TSlideRecord& a, const TSlideRecord& b) {
    char first[sizeof(TSlideRecord)];
    char second[sizeof(TSlideRecord)];
    SlideRecordBytes::encode(a, first);
    SlideRecordBytes::encode(b, second);
    return std::memcmp(first, second, sizeof first) == 0;
}

int ShowChange::indexAfter(int index) const {
    switch (kind) {
    case Kind::Inserted:
        return index >= first ? index + count : index;
    case Kind::Removed:
        return index >= first + count ? index - count : std::min(index, first);
    case Kind::Moved:
        if (index == first)
            return to;
        if (first < index && index <= to)
            return index - 1;
        if (to <= index && index < first)
            return index + 1;
        return index;
    case Kind::Changed:
    case Kind::Reset:
        break;
    }
    return index;
}

bool isBlankRecord(const TSlideRecord& record) {
    const std::string name = record.ImageFile.str();
    return name.size() == BlankImageName.size() &&
           std::equal(name.begin(), name.end(), BlankImageName.begin(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool recordHasAudio(const TSlideRecord& record) {
    return record.AudioFile.str().find_first_not_of(' ') != std::string::npos;
}

ShowDocument::ShowDocument(int defaultDelay) : defaultDelay_(defaultDelay), history_(new QUndoStack(this)) {
    setDefaultDelay(defaultDelay);
    // Undo or Redo back to the show as it was opened or saved leaves nothing to save.
    connect(history_, &QUndoStack::cleanChanged, this, &ShowDocument::noteModified);
    connect(history_, &QUndoStack::indexChanged, this, &ShowDocument::noteModified);
}

ShowDocument::~ShowDocument() = default;

void ShowDocument::setDefaultDelay(int seconds) {
    defaultDelay_ = seconds;
    fresh_ = TSlideRecord{};
    fresh_.Delay = static_cast<std::uint8_t>(std::clamp(seconds, 1, 255));
    fresh_.FontName.assign(DefaultFontName);
    fresh_.FontSize = DefaultFontSize;
}

const TSlideRecord& ShowDocument::slide(int index) const {
    return index >= 0 && index < count_ ? slides_[std::size_t(index)].record : fresh_;
}

const QImage& ShowDocument::thumbnail(int index) const {
    return index >= 0 && index < count_ ? slides_[std::size_t(index)].thumbnail : NoThumbnail;
}

const QJsonObject& ShowDocument::extra(int index) const {
    return index >= 0 && index < count_ ? slides_[std::size_t(index)].extra : NoExtra;
}

bool ShowDocument::isMissing(int index) const {
    return !isBlank(index) && !QFileInfo::exists(imagePath(index));
}

QString ShowDocument::imagePath(int index) const {
    return StoredPath::of(slide(index).ImageFile);
}

QString ShowDocument::audioPath(int index) const {
    return StoredPath::of(slide(index).AudioFile);
}

// ---- changes ----

int ShowDocument::insert(int at, QList<ShowSlide> slides) {
    slides.resize(std::min<qsizetype>(slides.size(), MaxSlides - count_));
    if (slides.isEmpty())
        return 0;
    ShowEdit edit{ShowEdit::Kind::Insert,
                  std::clamp(at, 0, count_),
                  0,
                  std::vector<ShowSlide>(slides.begin(), slides.end()),
                  {},
                  {}};
    perform(edit, true);
    keep(std::move(edit), stepName(AddSlides));
    return int(slides.size());
}

QList<ShowSlide> ShowDocument::remove(int first, int count) {
    first = std::clamp(first, 0, count_);
    count = std::clamp(count, 0, count_ - first);
    if (count == 0)
        return {};
    const auto begin = slides_.begin() + first;
    ShowEdit edit{ShowEdit::Kind::Remove, first, 0, std::vector<ShowSlide>(begin, begin + count), {}, {}};
    perform(edit, true);
    QList<ShowSlide> removed(edit.slides.begin(), edit.slides.end());
    keep(std::move(edit), stepName(DeleteSlides));
    return removed;
}

std::vector<int> ShowDocument::validIndexes(std::vector<int> indexes) const {
    std::erase_if(indexes, [this](int index) { return index < 0 || index >= count_; });
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

// Each run of neighbouring slides goes out at once, the last run first, so that the places of the
// runs before it still hold.
QList<ShowSlide> ShowDocument::removeEach(std::vector<int> indexes) {
    indexes = validIndexes(std::move(indexes));
    const Step step(*this, stepName(DeleteSlides));
    QList<ShowSlide> removed;
    for (auto end = indexes.rbegin(); end != indexes.rend();) {
        auto begin = end;
        while (std::next(begin) != indexes.rend() && *std::next(begin) == *begin - 1)
            ++begin;
        QList<ShowSlide> run = remove(*begin, *end - *begin + 1);
        removed = run + removed;
        end = std::next(begin);
    }
    return removed;
}

int ShowDocument::moveEach(std::vector<int> indexes, int before) {
    indexes = validIndexes(std::move(indexes));
    before = std::clamp(before, 0, count_);
    const int at =
        before - int(std::count_if(indexes.begin(), indexes.end(), [before](int i) { return i < before; }));
    const Step step(*this, stepName(MoveSlides));
    // Slides already standing together at their place stay: the show is unchanged.
    if (!indexes.empty() && indexes.front() == at && indexes.back() == at + int(indexes.size()) - 1)
        return at;
    insert(at, removeEach(std::move(indexes)));
    return at;
}

void ShowDocument::move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= count_ || to >= count_)
        return;
    ShowEdit edit{ShowEdit::Kind::Move, from, to, {}, {}, {}};
    perform(edit, true);
    keep(std::move(edit), stepName(MoveSlide));
}

void ShowDocument::replace(int index, ShowSlide slide) {
    if (index < 0 || index >= count_ || sameSlide(slide, slides_[std::size_t(index)]))
        return;
    ShowEdit edit = ShowEdit::replacement(slides_, index, {std::move(slide)});
    perform(edit, true);
    keep(std::move(edit), stepName(ChangeSlides));
}

void ShowDocument::setShowData(QJsonObject data) {
    if (data == showData_)
        return;
    ShowEdit edit{ShowEdit::Kind::ShowData, 0, 0, {}, {}, {}};
    edit.dataBefore = showData_;
    edit.dataAfter = std::move(data);
    perform(edit, true);
    keep(std::move(edit), stepName(ChangeShow));
}

void ShowDocument::giveEverySlide(std::uint8_t delay, bool holdForAudio, bool showText) {
    std::vector<ShowSlide> after = slides_;
    for (ShowSlide& slide : after) {
        SlideTimes::setTimeMs(slide.record, slide.extra, std::int64_t(delay) * 1000);
        slide.record.HoldForAudio = holdForAudio ? 1 : 0;
        slide.record.ShowText = showText ? 1 : 0;
    }
    ShowEdit edit = ShowEdit::replacement(slides_, 0, after);
    if (edit.empty())
        return;
    perform(edit, true);
    keep(std::move(edit), stepName(ChangeSlides));
}

void ShowDocument::setThumbnail(int index, QImage thumbnail) {
    if (index < 0 || index >= count_)
        return;
    slides_[std::size_t(index)].thumbnail = std::move(thumbnail);
    emit changed({ShowChange::Kind::Changed, index, 1, 0});
}

void ShowDocument::clear() {
    slides_.clear();
    count_ = 0;
    putShowData({});
    markOpened();
    emit changed({});
}

void ShowDocument::load(std::vector<TSlideRecord> records, QJsonObject data,
                        std::vector<QJsonObject> slides) {
    records.resize(std::min<std::size_t>(records.size(), MaxSlides));
    slides.resize(records.size());
    slides_.clear();
    slides_.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        slides_.push_back({records[i], QImage(), std::move(slides[i])});
    count_ = int(slides_.size());
    putShowData(data);
    markOpened();
    emit changed({});
}

void ShowDocument::markOpened() {
    // A step being gathered holds changes of the show that is gone.
    if (openStep_)
        openStep_->forget();
    storedEmpty_ = count_ == 0 && showData_.isEmpty();
    history_->clear();
    historyBytes_ = 0;
    noteModified();
}

void ShowDocument::markSaved() {
    storedEmpty_ = count_ == 0 && showData_.isEmpty();
    history_->setClean();
    noteModified();
}

void ShowDocument::undo() {
    walk(&QUndoStack::undo);
}

void ShowDocument::redo() {
    walk(&QUndoStack::redo);
}

// The slides a step touched, followed through each of its changes: those put in or changed, less
// those taken out again, each where it stands once the step is done.
void ShowDocument::walk(void (QUndoStack::*step)()) {
    std::set<int> touched;
    int place = -1;
    const QMetaObject::Connection gathering = connect(this, &ShowDocument::changed, [&](const ShowChange& c) {
        std::set<int> moved;
        for (int index : touched)
            if (c.kind != ShowChange::Kind::Removed || index < c.first || index >= c.first + c.count)
                moved.insert(c.indexAfter(index));
        touched = std::move(moved);
        if (place >= 0)
            place = c.indexAfter(place);
        if (c.kind == ShowChange::Kind::Moved)
            touched.insert(c.to);
        else if (c.kind != ShowChange::Kind::Removed)
            for (int i = c.first; i < c.first + c.count; ++i)
                touched.insert(i);
        else
            place = c.first;
    });
    (history_->*step)();
    disconnect(gathering);
    if (!touched.empty())
        emit walked({touched.begin(), touched.end()}, *touched.begin());
    else if (place >= 0)
        emit walked({}, place);
}

// The show differs from the one read or saved when the history has left that step. An empty show
// is the same as an empty one read or saved, whatever the steps that led to it.
void ShowDocument::noteModified() {
    modified_ = !history_->isClean() && !(count_ == 0 && showData_.isEmpty() && storedEmpty_);
}

void ShowDocument::keep(ShowEdit edit, const QString& name) {
    if (openStep_) {
        openStep_->add(std::move(edit));
        return;
    }
    auto step = std::make_unique<ShowStep>(*this, name);
    step->add(std::move(edit));
    push(step.release());
}

void ShowDocument::push(ShowStep* step) {
    history_->push(step);
    keepWithinLimit();
}

void ShowDocument::keepWithinLimit() {
    std::vector<std::size_t> sizes;
    historyBytes_ = 0;
    for (int i = 0; i < history_->count(); ++i) {
        sizes.push_back(static_cast<const ShowStep*>(history_->command(i))->bytes());
        historyBytes_ += sizes.back();
    }
    // The step just made stays, however large.
    int drop = 0;
    while (historyBytes_ > HistoryBytes && drop < history_->index() - 1)
        historyBytes_ -= sizes[std::size_t(drop++)];
    if (drop == 0)
        return;
    // The stack drops its oldest steps only by their number: it is laid anew with the steps that stay,
    // their changes handed over to new steps, at the same place and with the same saved step.
    const int index = history_->index() - drop;
    const int clean = history_->cleanIndex() >= drop ? history_->cleanIndex() - drop : -1;
    std::vector<ShowStep*> kept;
    for (int i = drop; i < history_->count(); ++i)
        kept.push_back(const_cast<ShowStep*>(static_cast<const ShowStep*>(history_->command(i)))->takeOver());
    const QScopedValueRollback<bool> quiet(relaying_, true);
    history_->clear();
    if (clean != 0)
        history_->resetClean();
    for (ShowStep* step : kept) {
        history_->push(step);
        if (history_->index() == clean)
            history_->setClean();
    }
    history_->setIndex(index);
}

ShowDocument::Step::Step(ShowDocument& show, const QString& name) : show_(show), outermost_(!show.openStep_) {
    if (outermost_)
        show_.openStep_ = std::make_unique<ShowStep>(show, name);
}

ShowDocument::Step::~Step() {
    if (!outermost_)
        return;
    std::unique_ptr<ShowStep> step = std::move(show_.openStep_);
    if (!step->empty())
        show_.push(step.release());
}

// ---- the changes themselves, made and taken back ----

void ShowDocument::perform(const ShowEdit& edit, bool forward) {
    if (relaying_)
        return;
    using Kind = ShowEdit::Kind;
    switch (edit.kind) {
    case Kind::Insert:
    case Kind::Remove:
        if ((edit.kind == Kind::Insert) == forward)
            put(edit.first, edit.slides);
        else
            take(edit.first, int(edit.slides.size()));
        break;
    case Kind::Move:
        forward ? shift(edit.first, edit.to) : shift(edit.to, edit.first);
        break;
    case Kind::Replace:
        overwrite(edit, forward);
        break;
    case Kind::ShowData:
        putShowData(forward ? edit.dataAfter : edit.dataBefore);
        break;
    }
}

void ShowDocument::put(int at, const std::vector<ShowSlide>& slides) {
    at = std::clamp(at, 0, count_);
    slides_.insert(slides_.begin() + at, slides.begin(), slides.end());
    count_ = int(slides_.size());
    emit changed({ShowChange::Kind::Inserted, at, int(slides.size()), 0});
}

void ShowDocument::take(int first, int count) {
    first = std::clamp(first, 0, count_);
    count = std::clamp(count, 0, count_ - first);
    slides_.erase(slides_.begin() + first, slides_.begin() + first + count);
    count_ = int(slides_.size());
    emit changed({ShowChange::Kind::Removed, first, count, 0});
}

void ShowDocument::shift(int from, int to) {
    if (from < 0 || to < 0 || from >= count_ || to >= count_)
        return;
    const auto at = [this](int i) { return slides_.begin() + i; };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else
        std::rotate(at(to), at(from), at(from + 1));
    emit changed({ShowChange::Kind::Moved, from, 1, to});
}

void ShowDocument::overwrite(const ShowEdit& edit, bool forward) {
    const auto [low, high] = edit.patch(slides_, forward);
    if (low >= 0)
        emit changed({ShowChange::Kind::Changed, low, high - low + 1, 0});
}

void ShowDocument::putShowData(const QJsonObject& data) {
    if (data == showData_)
        return;
    showData_ = data;
    emit showDataChanged();
}
