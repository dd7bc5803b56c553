#include "table_file.hpp"

#include <algorithm>
#include <cctype>

#include "atomic_file.hpp"
#include "error.hpp"
#include "number_format.hpp"
#include "text_lines.hpp"

namespace qnet {

namespace {

std::string ColumnName(std::size_t column, std::size_t inputs) {
  return column < inputs ? "in" + std::to_string(column + 1) : "out" + std::to_string(column - inputs + 1);
}

bool LooksNonFinite(std::string_view text) {
  std::string lower;
  for (char c : text)
    if (c != '+' && c != '-') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "nan" || lower == "inf" || lower == "infinity";
}

// Counts the columns named prefix1, prefix2, ... from `first` on.
std::size_t CountNamed(const std::vector<std::string_view>& fields, std::size_t first, const std::string& prefix) {
  std::size_t count = 0;
  while (first + count < fields.size() && fields[first + count] == prefix + std::to_string(count + 1)) ++count;
  return count;
}

std::string Row(const std::string& name, std::size_t line) { return name + ":" + std::to_string(line) + ": "; }

}  // namespace

PatternSet ParseTrainingTable(std::string_view text, const std::string& name, bool outputs_required) {
  LineReader lines(text);
  std::string_view line;
  if (!lines.Next(line)) throw Error(name + ": the table is empty");
  const std::vector<std::string_view> header = SplitFields(line, ',');
  PatternSet patterns;
  patterns.InputCount = CountNamed(header, 0, "in");
  patterns.OutputCount = CountNamed(header, patterns.InputCount, "out");
  const std::size_t columns = patterns.InputCount + patterns.OutputCount;
  if (patterns.InputCount == 0 || (outputs_required && patterns.OutputCount == 0) || columns != header.size()) {
    const std::size_t bad = patterns.InputCount == 0 ? 0 : std::min(columns, header.size() - 1);
    throw Error(Row(name, 1) + "header column " + std::to_string(bad + 1) + " is " + Quoted(header[bad]) +
                "; expected in1..inN followed by out1..outK");
  }
  while (lines.Next(line)) {
    if (line.empty() && lines.OnlyBlankLinesLeft()) break;
    const std::vector<std::string_view> fields = SplitFields(line, ',');
    if (fields.size() != columns)
      throw Error(Row(name, lines.Number()) + std::to_string(fields.size()) + " columns, the header has " +
                  std::to_string(columns));
    for (std::size_t c = 0; c < columns; ++c) {
      double value = 0.0;
      if (!ParseNumber(fields[c], value)) {
        const char* reason = LooksNonFinite(fields[c]) ? " is not a finite number" : " is not a number";
        throw Error(Row(name, lines.Number()) + "column " + std::to_string(c + 1) + " (" +
                    ColumnName(c, patterns.InputCount) + "): " + Quoted(fields[c]) + reason);
      }
      (c < patterns.InputCount ? patterns.Inputs : patterns.Targets).push_back(value);
    }
  }
  if (patterns.Count() == 0) throw Error(name + ": the table has no patterns");
  return patterns;
}

PatternSet ReadTrainingTable(const std::string& path, bool outputs_required) {
  return ParseTrainingTable(ReadWholeFile(path), path, outputs_required);
}

std::string FormatTrainingTable(const PatternSet& patterns) {
  std::string text;
  for (std::size_t c = 0; c < patterns.InputCount + patterns.OutputCount; ++c)
    text += (c ? "," : "") + ColumnName(c, patterns.InputCount);
  text += "\r\n";
  for (std::size_t row = 0; row < patterns.Count(); ++row) {
    for (std::size_t c = 0; c < patterns.InputCount; ++c)
      text += (c ? "," : "") + FormatFixed(patterns.InputRow(row)[c], 8);
    for (std::size_t c = 0; c < patterns.OutputCount; ++c) text += "," + FormatFixed(patterns.TargetRow(row)[c], 8);
    text += "\r\n";
  }
  return text;
}

void WriteTrainingTable(const std::string& path, const PatternSet& patterns) {
  WriteFileAtomically(path, FormatTrainingTable(patterns));
}

std::string FormatOutputTable(const std::vector<double>& outputs, std::size_t columns) {
  std::string text;
  for (std::size_t c = 0; c < columns; ++c) text += (c ? ",out" : "out") + std::to_string(c + 1);
  text += "\r\n";
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    text += FormatFixed(outputs[i], 8);
    text += (i + 1) % columns == 0 ? "\r\n" : ",";
  }
  return text;
}

}  // namespace qnet
