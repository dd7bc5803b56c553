#pragma once
#include <string>
#include <string_view>

#include "model.hpp"

namespace qnet {

// Training table: header in1..inN,out1..outK, one pattern per line.
// `name` is the file name used in messages. A table of inputs only (no out
// columns) is accepted when outputs are not required.
PatternSet ParseTrainingTable(std::string_view text, const std::string& name, bool outputs_required = true);
PatternSet ReadTrainingTable(const std::string& path, bool outputs_required = true);

// Every number with exactly eight decimals, CR LF after every line.
std::string FormatTrainingTable(const PatternSet& patterns);
void WriteTrainingTable(const std::string& path, const PatternSet& patterns);

// A table of outputs only (header out1..outK), as the training log keeps one per epoch.
std::string FormatOutputTable(const std::vector<double>& outputs, std::size_t columns);

}  // namespace qnet
