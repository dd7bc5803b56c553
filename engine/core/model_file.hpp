#pragma once
#include <string>
#include <string_view>

#include "model.hpp"

namespace qnet {

// The model file: "[K-Net]", then key = value lines in a fixed order.
std::string FormatModelFile(const TKNet& net);
void WriteModelFile(const std::string& path, const TKNet& net);

// Fills the net's sizes, settings and layers from a model file; the net is
// left untouched when the file is bad. `name` is used in messages.
void ParseModelFile(std::string_view text, const std::string& name, TKNet& net);
void ReadModelFile(const std::string& path, TKNet& net);

}  // namespace qnet
