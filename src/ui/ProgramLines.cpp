#include "ui/ProgramLines.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "ui/ProgramText.h"

namespace cuttrace::ui {

namespace {
constexpr qint64 kReadPiece = 64 * 1024;
}  // namespace

ProgramLines::ProgramLines(QObject* parent) : QAbstractListModel(parent) {
    slicer_.setInterval(0);
    connect(&slicer_, &QTimer::timeout, this, [this] {
        if (!IndexSlice()) slicer_.stop();
    });
}

bool ProgramLines::Open(const std::string& path) {
    Close();
    file_.setFileName(PathToQString(path));
    if (!file_.open(QIODevice::ReadOnly)) return false;
    beginResetModel();
    size_ = file_.size();
    path_ = path;
    endResetModel();
    IndexSlice(kFirstSliceBytes);  // the first lines show at once
    if (!Indexed()) slicer_.start();
    return true;
}

void ProgramLines::Close() {
    slicer_.stop();
    beginResetModel();
    file_.close();
    size_ = indexedTo_ = lines_ = 0;
    std::vector<int64_t>().swap(marks_);
    for (Group& group : cache_)
        group = Group{};
    path_.clear();
    endResetModel();
}

bool ProgramLines::IndexSlice(int64_t bytes) {
    if (Indexed()) return false;
    const int64_t before = lines_;
    QByteArray slice;
    if (file_.seek(indexedTo_)) slice = file_.read(std::min(size_ - indexedTo_, bytes));
    if (slice.isEmpty()) {
        size_ = indexedTo_;  // the file became shorter: what was found stays
    } else {
        const auto note = [this](int64_t start) {
            if (lines_ % kLinesPerMark == 0) marks_.push_back(start);
            ++lines_;
        };
        if (indexedTo_ == 0) note(0);
        const char* data = slice.constData();
        const auto length = static_cast<std::size_t>(slice.size());
        for (std::size_t at = 0; at < length;) {
            const void* found = std::memchr(data + at, '\n', length - at);
            if (!found) break;
            at = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
            const int64_t start = indexedTo_ + static_cast<int64_t>(at);
            if (start < size_) note(start);
        }
        indexedTo_ += static_cast<int64_t>(length);
    }
    const int64_t shownBefore = std::min<int64_t>(before, INT_MAX);
    const int64_t shownNow = std::min<int64_t>(lines_, INT_MAX);
    if (shownNow > shownBefore) {
        beginInsertRows({}, static_cast<int>(shownBefore), static_cast<int>(shownNow - 1));
        endInsertRows();
    }
    if (Indexed()) {
        emit indexed();
        return false;
    }
    return true;
}

void ProgramLines::IndexUntil(int64_t offset, int64_t lines) {
    while (indexedTo_ <= offset && lines_ < lines && IndexSlice()) {
    }
    if (Indexed()) slicer_.stop();
}

const ProgramLines::Group& ProgramLines::LoadGroup(int number) const {
    for (const Group& group : cache_) {
        if (group.number == number) return group;
    }
    Group& group = cache_[nextSlot_];
    nextSlot_ = (nextSlot_ + 1) % cache_.size();
    group.number = number;
    group.starts.clear();
    group.texts.clear();
    const int64_t first = int64_t{number} * kLinesPerMark;
    const auto count = static_cast<int>(std::min<int64_t>(kLinesPerMark, lines_ - first));
    int64_t pos = marks_[static_cast<std::size_t>(number)];
    QByteArray piece;
    qsizetype at = 0;
    bool more = file_.seek(pos);
    for (int i = 0; i < count; ++i) {
        group.starts.push_back(pos);
        QByteArray text;
        while (more) {
            if (at == piece.size()) {
                piece = file_.read(kReadPiece);  // the file may have become shorter
                at = 0;
                if (piece.isEmpty()) {
                    more = false;
                    break;
                }
            }
            const char* from = piece.constData() + at;
            const auto left = static_cast<std::size_t>(piece.size() - at);
            const void* end = std::memchr(from, '\n', left);
            const auto take =
                static_cast<qsizetype>(end ? static_cast<const char*>(end) - from : left);
            if (text.size() < kLongestLineShown)
                text.append(from, std::min<qsizetype>(take, kLongestLineShown - text.size()));
            at += take;
            pos += take;
            if (end) {
                ++at;
                ++pos;
                break;
            }
        }
        group.texts.push_back(DecodeProgramLine(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
    }
    group.starts.push_back(pos);
    return group;
}

int64_t ProgramLines::StartOfRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    const Group& group = LoadGroup(row / kLinesPerMark);
    return group.starts[static_cast<std::size_t>(row % kLinesPerMark)];
}

int64_t ProgramLines::EndOfRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    const Group& group = LoadGroup(row / kLinesPerMark);
    return group.starts[static_cast<std::size_t>(row % kLinesPerMark) + 1];
}

int ProgramLines::RowOfOffset(int64_t offset) {
    if (offset < 0) return -1;
    IndexUntil(offset, INT64_MAX);
    if (marks_.empty() || offset >= std::max(size_, int64_t{1})) return -1;
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), offset);
    const auto number = static_cast<int>(after - marks_.begin()) - 1;
    const Group& group = LoadGroup(number);
    const auto last = group.starts.end() - 1;  // one past the group's last line
    const auto in = std::upper_bound(group.starts.begin(), last, offset);
    const int row = number * kLinesPerMark + static_cast<int>(in - group.starts.begin()) - 1;
    return row < rowCount() ? row : -1;
}

int ProgramLines::RowOfLine(int64_t line) {
    if (line < 1) return -1;
    IndexUntil(INT64_MAX, line);
    return line <= rowCount() ? static_cast<int>(line - 1) : -1;
}

int ProgramLines::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::min<int64_t>(lines_, INT_MAX));
}

QVariant ProgramLines::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const Group& group = LoadGroup(index.row() / kLinesPerMark);
    return group.texts[static_cast<std::size_t>(index.row() % kLinesPerMark)];
}

}  // namespace cuttrace::ui
