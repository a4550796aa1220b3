#include "LogList.h"

#include "Cp1250.h"
#include "ResultsLogFormat.h"

#include <utility>

namespace kwizmar {

const std::vector<TLogList::TRow>& TLogList::Rows() const {
    if (index_ == TIndex::EveryLine) {
        rows_.clear();
        ForEachLogLine(bytes_, [this](std::size_t offset, std::size_t size, TLineEnd) {
            rows_.push_back(TRow::InBytes(offset, size));
        });
        index_ = TIndex::Rows;
    }
    return rows_;
}

std::size_t TLogList::Count() const {
    return Rows().size();
}

std::string TLogList::Line(std::size_t index) const {
    const TRow& row = Rows()[index];
    if (row.from == TRow::TFrom::Added)
        return added_[row.at];
    return Cp1250ToUtf8(std::string_view(bytes_).substr(row.at, row.size));
}

std::size_t TLogList::LineSize(std::size_t index) const {
    const TRow& row = Rows()[index];
    return row.from == TRow::TFrom::Added ? added_[row.at].size() : row.size;
}

void TLogList::Delete(std::size_t index) {
    Rows();
    if (index < rows_.size())
        rows_.erase(rows_.begin() + std::ptrdiff_t(index));
}

void TLogList::Clear() {
    rows_.clear();
    index_ = TIndex::Rows;
    added_.clear();
}

void TLogList::Take(std::string bytes) {
    bytes_ = std::move(bytes);
    ListBuffer(true);
}

void TLogList::Forget() {
    known_ = false;
    Clear();
}

void TLogList::ListBuffer(bool known) {
    known_ = known;
    rows_.clear();
    index_ = TIndex::EveryLine;
    added_.clear();
}

void TLogList::AddLine(std::string utf8) {
    Rows();
    added_.push_back(std::move(utf8));
    rows_.push_back(TRow::InAdded(added_.size() - 1));
}

TLogList TLogList::Saved(std::string_view appended) const {
    const std::vector<TRow>& rows = Rows();
    TLogList saved;
    std::string& content = saved.bytes_;
    content.reserve(bytes_.size() + appended.size() + 2 * rows.size());
    saved.rows_.reserve(rows.size());
    for (const TRow& row : rows) {
        if (row.from == TRow::TFrom::Added) {
            saved.rows_.push_back(row);
            content += EncodeLogLine(added_[row.at]);
        } else {
            saved.rows_.push_back(TRow::InBytes(content.size(), row.size));
            content.append(bytes_, row.at, row.size);
        }
        content += "\r\n";
    }
    ForEachLogLine(appended, [&](std::size_t offset, std::size_t size, TLineEnd) {
        saved.rows_.push_back(TRow::InBytes(content.size(), size));
        content += appended.substr(offset, size);
        content += "\r\n";
    });
    saved.known_ = true;
    saved.index_ = TIndex::Rows;
    saved.added_ = added_;
    return saved;
}

TLogLines::operator std::vector<std::string>() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::string line : *this)
        lines.push_back(std::move(line));
    return lines;
}

bool operator==(const TLogLines& lines, const std::vector<std::string>& other) {
    if (lines.size() != other.size())
        return false;
    for (std::size_t i = 0; i < other.size(); ++i)
        if (lines[i] != other[i])
            return false;
    return true;
}

} // namespace kwizmar
