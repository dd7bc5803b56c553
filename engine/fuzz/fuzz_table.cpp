// Any bytes given to the table reader either fail with qnet::Error or give a
// table that writes and reads back to the same patterns shape.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "error.hpp"
#include "table_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qnet::PatternSet patterns;
  try {
    patterns = qnet::ParseTrainingTable(text, "fuzz.csv");
  } catch (const qnet::Error&) {
    return 0;
  }
  if (patterns.Inputs.size() != patterns.Count() * patterns.InputCount ||
      patterns.Targets.size() != patterns.Count() * patterns.OutputCount)
    std::abort();
  const qnet::PatternSet again = qnet::ParseTrainingTable(qnet::FormatTrainingTable(patterns), "again.csv");
  if (again.Count() != patterns.Count() || again.InputCount != patterns.InputCount) std::abort();
  return 0;
}
