#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qnet {

// Walks a text line by line, accepting LF and CR LF line ends, and knows the
// number of the line it gave last, for messages.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(position_, end - position_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    position_ = end + 1;
    ++number_;
    return true;
  }
  std::size_t Number() const { return number_; }
  // True when only empty lines remain.
  bool OnlyBlankLinesLeft() const {
    for (std::size_t i = position_; i < text_.size(); ++i)
      if (text_[i] != '\n' && text_[i] != '\r') return false;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::size_t number_ = 0;
};

inline std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
}

// A field quoted for a message, cut short when long.
inline std::string Quoted(std::string_view text) {
  std::string shown(text.substr(0, 40));
  if (text.size() > 40) shown += "...";
  return "'" + shown + "'";
}

}  // namespace qnet
