#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace arcavio {

// An ordered list of text lines addressed from 0, the shape in which every text file of the
// program is read and written.
class LineList {
  public:
    LineList() = default;
    LineList(std::initializer_list<std::string> lines) : lines_(lines) {}
    explicit LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Splits decoded text at CR, LF or CR LF; a last line without an end counts, a break at
    // the very end starts no further line, a zero byte ends the text; nothing is trimmed.
    static LineList fromText(std::string_view text);
    // Raw file bytes: cut at the first zero byte, decoded, then split.
    static LineList fromBytes(std::string_view bytes);

    // Every line followed by CR LF.
    std::string toText() const;

    // Throws ListIndexError for an index outside the list.
    const std::string& at(long long index) const;
    void set(long long index, std::string value);

    void append(std::string line) { lines_.push_back(std::move(line)); }
    void clear() { lines_.clear(); }
    int count() const { return static_cast<int>(lines_.size()); }
    bool empty() const { return lines_.empty(); }
    const std::vector<std::string>& lines() const { return lines_; }

    friend bool operator==(const LineList&, const LineList&) = default;

  private:
    std::vector<std::string> lines_;
};

// The line of a text that starts at `start`: where it ends (at its first CR or LF, or at the end
// of the text) and where the next line starts (past one CR, LF or CR LF).
struct LineSpan {
    std::size_t end;
    std::size_t next;
};
LineSpan lineAt(std::string_view text, std::size_t start);

// True when the text holds CR, LF or a zero byte: written into a line of a file, it would end
// the line there (or the readable text) and start another.
bool breaksLine(std::string_view text);

} // namespace arcavio
