// SPDX-License-Identifier: MIT
#include "show_document.h"

#include "show_step.h"
#include "stored_path.h"

#include <QFileInfo>
#include <QUndoStack>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace {
const QImage NoThumbnail;

const QString AddSlides = QStringLiteral("Add Slides");
const QString DeleteSlides = QStringLiteral("Delete Slides");
const QString MoveSlide = QStringLiteral("Move Slide");
const QString ChangeSlides = QStringLiteral("Change Slides");

// The same record, as a file would store it, and the same thumbnail.
bool sameSlide(const ShowSlide& a, const ShowSlide& b) {
    char first[sizeof(TSlideRecord)];
    char second[sizeof(TSlideRecord)];
    SlideRecordBytes::encode(a.record, first);
    SlideRecordBytes::encode(b.record, second);
    return std::memcmp(first, second, sizeof first) == 0 && a.thumbnail == b.thumbnail;
}
} // namespace

bool isBlankRecord(const TSlideRecord& record) {
    const std::string name = record.ImageFile.str();
    return name.size() == BlankImageName.size() &&
           std::equal(name.begin(), name.end(), BlankImageName.begin(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool recordHasAudio(const TSlideRecord& record) {
    return record.AudioFile.str().find_first_not_of(' ') != std::string::npos;
}

void ShowStep::undo() {
    for (auto edit = edits_.rbegin(); edit != edits_.rend(); ++edit)
        show_.perform(*edit, false);
}

void ShowStep::redo() {
    if (std::exchange(made_, false))
        return;
    for (const ShowEdit& edit : edits_)
        show_.perform(edit, true);
}

ShowDocument::ShowDocument(int defaultDelay) : defaultDelay_(defaultDelay), history_(new QUndoStack(this)) {
    setDefaultDelay(defaultDelay);
    history_->setUndoLimit(HistorySteps);
    // Undo or Redo back to the show as it was opened or saved leaves nothing to save.
    connect(history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            modified_ = false;
    });
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
                  {}};
    perform(edit, true);
    keep(std::move(edit), AddSlides);
    return int(slides.size());
}

QList<ShowSlide> ShowDocument::remove(int first, int count) {
    first = std::clamp(first, 0, count_);
    count = std::clamp(count, 0, count_ - first);
    if (count == 0)
        return {};
    const auto begin = slides_.begin() + first;
    ShowEdit edit{ShowEdit::Kind::Remove, first, 0, std::vector<ShowSlide>(begin, begin + count), {}};
    perform(edit, true);
    QList<ShowSlide> removed(edit.slides.begin(), edit.slides.end());
    keep(std::move(edit), DeleteSlides);
    return removed;
}

void ShowDocument::move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= count_ || to >= count_)
        return;
    ShowEdit edit{ShowEdit::Kind::Move, from, to, {}, {}};
    perform(edit, true);
    keep(std::move(edit), MoveSlide);
}

void ShowDocument::replace(int index, ShowSlide slide) {
    if (index < 0 || index >= count_ || sameSlide(slide, slides_[std::size_t(index)]))
        return;
    ShowEdit edit{ShowEdit::Kind::Replace, index, 0, {std::move(slide)}, {slides_[std::size_t(index)]}};
    perform(edit, true);
    keep(std::move(edit), ChangeSlides);
}

void ShowDocument::giveEverySlide(std::uint8_t delay, bool holdForAudio, bool showText) {
    if (count_ == 0)
        return;
    ShowEdit edit{ShowEdit::Kind::Replace, 0, 0, slides_, slides_};
    for (ShowSlide& slide : edit.slides) {
        slide.record.Delay = delay;
        slide.record.HoldForAudio = holdForAudio ? 1 : 0;
        slide.record.ShowText = showText ? 1 : 0;
    }
    perform(edit, true);
    keep(std::move(edit), ChangeSlides);
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
    markOpened();
    emit changed({});
}

void ShowDocument::load(std::vector<TSlideRecord> records) {
    records.resize(std::min<std::size_t>(records.size(), MaxSlides));
    slides_.clear();
    slides_.reserve(records.size());
    for (const TSlideRecord& record : records)
        slides_.push_back({record, QImage()});
    count_ = int(slides_.size());
    markOpened();
    emit changed({});
}

void ShowDocument::markOpened() {
    // A step being gathered holds changes of the show that is gone.
    if (openStep_)
        openStep_->forget();
    history_->clear();
    modified_ = false;
}

void ShowDocument::markSaved() {
    history_->setClean();
    modified_ = false;
}

void ShowDocument::keep(ShowEdit edit, const QString& name) {
    if (openStep_) {
        openStep_->add(std::move(edit));
        return;
    }
    auto step = std::make_unique<ShowStep>(*this, name);
    step->add(std::move(edit));
    history_->push(step.release());
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
        show_.history_->push(step.release());
}

// ---- the changes themselves, made and taken back ----

void ShowDocument::perform(const ShowEdit& edit, bool forward) {
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
        overwrite(edit.first, forward ? edit.slides : edit.before);
        break;
    }
    modified_ = true;
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

void ShowDocument::overwrite(int first, const std::vector<ShowSlide>& slides) {
    first = std::clamp(first, 0, count_);
    const int count = std::min(int(slides.size()), count_ - first);
    std::copy_n(slides.begin(), count, slides_.begin() + first);
    emit changed({ShowChange::Kind::Changed, first, count, 0});
}
