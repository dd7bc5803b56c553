#pragma once
#include <string>
#include <vector>

#include "model.hpp"

namespace qnet {

// The flat array the browser evaluation reads: 777, the layer count, the
// input count, then per computing layer its neuron count and per neuron its
// synapse count and per synapse weight, interval count and four numbers
// per interval. `bounds`, when given, marks the positions of upper bounds.
std::vector<double> FlatModelArray(const TKNet& net, std::vector<bool>* bounds = nullptr);

enum class ExportKind { JavaScript, Cpp, Pascal };

// The export kind a path asks for by its extension; throws for others.
ExportKind ExportKindOf(const std::string& path);

// The export text; `stamp` is the date and time of the header line.
std::string FormatExport(const TKNet& net, ExportKind kind, const std::string& stamp);
void WriteExport(const std::string& path, const TKNet& net);

// The CommonJS form of a JavaScript export: the object is declared plainly
// and assigned to the module's export after the closing rule line, with no
// final line break. Throws when the text is not a JavaScript export.
std::string CommonJsForm(const std::string& exported);
// Rewrites an export file into its CommonJS form, in place.
void ConvertToCommonJs(const std::string& path);

// The local date and time as the export's header shows it.
std::string ExportTimeStamp();

}  // namespace qnet
