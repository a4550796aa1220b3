#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// The list of the results log as the statistics window shows it: the lines of
// the file as it was last read or written, each decoded to UTF-8 only when it
// is read, so that a log of a million lines costs nothing until someone looks
// at it; less the lines deleted, plus the lines that are not in the file (a
// result the log refused). Memory only: reading and writing the file is
// ResultsLogFile.h's.

namespace kwizmar {

class TLogList {
public:
    // The list: its number of lines, one line decoded (index < Count()).
    std::size_t Count() const;
    std::string Line(std::size_t index) const;
    // How many bytes line `index` has as stored, without decoding it.
    std::size_t LineSize(std::size_t index) const;

    // The statistics window's edits. Line numbers are never rewritten.
    void Delete(std::size_t index); // an index past the end does nothing
    void Clear();

    // The file as the list was last read from or written to it, in its own
    // encoding; Known() is false when the file could not be read.
    const std::string& Bytes() const { return bytes_; }
    bool Known() const { return known_; }

    // The list becomes every line of `bytes`, the file as just read or written.
    void Take(std::string bytes);

    // Reading the file into the list. Forget empties the list and counts the
    // file as unknown; Buffer is where the file is read, into the memory of the
    // log read before, and then changed as the file is. ListBuffer makes the
    // list every line of the buffer, or AddReadLine adds the lines found while
    // the file comes in (`size` bytes at `offset` of the buffer) until
    // LinesRead.
    void Forget();
    std::string& Buffer() { return bytes_; }
    void ListBuffer(bool known);
    void AddReadLine(std::size_t offset, std::size_t size) {
        rows_.push_back(TRow::InBytes(offset, size));
    }
    void LinesRead() { known_ = true; }

    // Adds a line that is not in the file.
    void AddLine(std::string utf8);

    // The list as a save writes it: each line encoded and followed by CR LF
    // (the lines read from the file as they were read), then the lines of
    // `appended`, lines that other copies of the program added to the file
    // since. The lines not in the file stay as they were given.
    TLogList Saved(std::string_view appended) const;

private:
    // Where a line of the list is: `size` bytes at `at` in bytes_, or the
    // line `at` of added_.
    struct TRow {
        enum class TFrom : std::size_t { Bytes, Added };
        std::size_t at : 63;
        TFrom from : 1;
        std::size_t size;

        static TRow InBytes(std::size_t offset, std::size_t size) {
            TRow row;
            row.at = offset;
            row.from = TFrom::Bytes;
            row.size = size;
            return row;
        }
        static TRow InAdded(std::size_t index) {
            TRow row;
            row.at = index;
            row.from = TFrom::Added;
            row.size = 0;
            return row;
        }
    };
    // Which lines the list holds: every line of bytes_, for which rows_ is
    // made only when first needed (the finish never walks the lines), or
    // those of rows_.
    enum class TIndex { EveryLine, Rows };

    const std::vector<TRow>& Rows() const;

    std::string bytes_;
    bool known_ = false;
    mutable TIndex index_ = TIndex::EveryLine;
    mutable std::vector<TRow> rows_;
    std::vector<std::string> added_;
};

// A view of a list as UTF-8 lines, each decoded as it is read: valid while the
// list lives, and showing the list as it is at each read.
class TLogLines {
public:
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        const_iterator() = default;
        const_iterator(const TLogLines& lines, std::size_t index) : lines_(&lines), index_(index) {}
        std::string operator*() const { return (*lines_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const TLogLines* lines_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string;
    using size_type = std::size_t;

    explicit TLogLines(const TLogList& list) : list_(list) {}

    std::size_t size() const { return list_.Count(); }
    bool empty() const { return size() == 0; }
    std::string operator[](std::size_t index) const { return list_.Line(index); } // index < size()
    std::size_t LineSize(std::size_t index) const { return list_.LineSize(index); }
    std::string back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

    // Every line decoded at once.
    operator std::vector<std::string>() const;
    friend bool operator==(const TLogLines& lines, const std::vector<std::string>& other);

private:
    const TLogList& list_;
};

} // namespace kwizmar
