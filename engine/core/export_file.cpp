#include "export_file.hpp"

#include <cmath>
#include <ctime>

#include "atomic_file.hpp"
#include "error.hpp"
#include "number_format.hpp"
#include "predict_routines.hpp"

namespace qnet {

namespace {

const std::string kRule = "//+" + std::string(66, '-') + "+";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The numbers with four decimals, each followed by ", ", breaking the line as
// soon as it reaches 80 characters; `line` holds the text the first line
// starts with and the last number is followed by `close`.
// Bounds are rounded so that they do not drop below an input they held.
std::string WrappedNumbers(const std::vector<double>& data, const std::vector<bool>& bounds, std::string line,
                           const std::string& close) {
  std::string text;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (!std::isfinite(data[i]))
      throw Error("the model holds a value that is not a finite number; nothing was exported");
    line += bounds[i] ? FormatFixedNotBelow(data[i], 4) : FormatFixed(data[i], 4);
    if (i + 1 == data.size()) break;
    line += ", ";
    if (line.size() >= 80) {
      text += line + "\r\n";
      line = "  ";
    }
  }
  return text + line + close + "\r\n";
}

// Lines of a routine text, each indented and ended with CR LF.
std::string Indented(const std::string& routine, const std::string& indent) {
  std::string text;
  std::size_t start = 0;
  while (start < routine.size()) {
    std::size_t end = routine.find('\n', start);
    if (end == std::string::npos) end = routine.size();
    const std::string line = routine.substr(start, end - start);
    text += line.empty() ? "\r\n" : indent + line + "\r\n";
    start = end + 1;
  }
  return text;
}

// The body of QNetPredict in the shared JavaScript routine: the lines
// between its opening line and its closing brace.
std::string PredictBody() {
  const std::string source = kPredictRoutineJs;
  const std::size_t open = source.find("export function QNetPredict(");
  const std::size_t body = source.find('\n', open) + 1;
  const std::size_t close = source.find("\n}\n", body);
  return source.substr(body, close + 1 - body);
}

std::string Header(const std::string& stamp) {
  return kRule + "\r\n//  <" + stamp + " - " + stamp + "> <>\r\n" + kRule + "\r\n";
}

std::string JavaScriptExport(const TKNet& net, const std::vector<double>& data, const std::vector<bool>& bounds,
                             const std::string& stamp) {
  std::string text = Header(stamp) + "export const qnet = {\r\n";
  text += "  QNETID: 777,\r\n  LAYERS: 1,\r\n  INPUTS: 2,\r\n  NEURONS: 3,\r\n  SYNAPSES: 4,\r\n  SWEIGHT: 5,\r\n";
  text += "  MEDIATORS: 6,\r\n  PSTEP: 4,\r\n";
  text += "  PSIZE: " + std::to_string(data.size()) + ",\r\n";
  text += "  NVARS: " + std::to_string(net.InputNeuronCount) + ",\r\n";
  text += "  NCLASS: " + std::to_string(net.OutputNeuronCount) + ",\r\n";
  text += WrappedNumbers(data, bounds, "  data:  [", "],");
  text += "  Predict: function(inp) {\r\n";
  text += "    const NCLASS = this.NCLASS, NVARS = this.NVARS, LAYERS = this.LAYERS;\r\n";
  text += "    const NEURONS = this.NEURONS, PSTEP = this.PSTEP, data = this.data;\r\n";
  text += Indented(PredictBody(), "  ");
  text += "  }\r\n}\r\n" + kRule + "\r\n";
  return text;
}

std::string Constants(const TKNet& net, const std::vector<double>& data, const char* format) {
  std::string text;
  const std::pair<const char*, std::size_t> constants[] = {
      {"QNETID", 777}, {"LAYERS", 1}, {"INPUTS", 2}, {"NEURONS", 3}, {"SYNAPSES", 4}, {"SWEIGHT", 5}, {"MEDIATORS", 6},
      {"PSTEP", 4}, {"PSIZE", data.size()}, {"NVARS", static_cast<std::size_t>(net.InputNeuronCount)},
      {"NCLASS", static_cast<std::size_t>(net.OutputNeuronCount)}};
  for (const auto& [name, value] : constants) {
    char line[96];
    std::snprintf(line, sizeof line, format, name, value);
    text += line;
  }
  return text;
}

std::string CppExport(const TKNet& net, const std::vector<double>& data, const std::vector<bool>& bounds,
                             const std::string& stamp) {
  std::string text = Header(stamp) + "#include <cfloat>\r\n#include <cmath>\r\n#include <vector>\r\n\r\nnamespace qnet_model {\r\n";
  text += Constants(net, data, "const int %s = %zu;\r\n");
  text += WrappedNumbers(data, bounds, "const double data[PSIZE] = {", "};");
  text += "\r\n" + Indented(kPredictRoutineCpp, "") + "}  // namespace qnet_model\r\n" + kRule + "\r\n";
  return text;
}

std::string PascalExport(const TKNet& net, const std::vector<double>& data, const std::vector<bool>& bounds,
                             const std::string& stamp) {
  std::string text = Header(stamp) + "unit qnet_model;\r\n\r\ninterface\r\n\r\nconst\r\n";
  text += Constants(net, data, "  %s = %zu;\r\n");
  text += WrappedNumbers(data, bounds, "  data: array[0..PSIZE - 1] of Double = (", ");");
  text += "\r\ntype\r\n  TOutputs = array of Double;\r\n\r\n";
  text += "function Predict(const inp: array of Double): TOutputs;\r\n\r\nimplementation\r\n\r\n";
  text += Indented(kPredictRoutinePas, "") + "\r\nend.\r\n" + kRule + "\r\n";
  return text;
}

}  // namespace

std::vector<double> FlatModelArray(const TKNet& net, std::vector<bool>* bounds) {
  std::vector<double> data{777.0, static_cast<double>(net.LayerCount), static_cast<double>(net.InputNeuronCount)};
  std::vector<bool> marks(data.size(), false);
  for (const TNeuronLayer& layer : net.Layers) {
    data.push_back(static_cast<double>(layer.Neurons.size()));
    marks.resize(data.size(), false);
    for (const TNeuron& neuron : layer.Neurons) {
      data.push_back(static_cast<double>(neuron.Synapses.size()));
      marks.resize(data.size(), false);
      for (const TSynapse& synapse : neuron.Synapses) {
        data.push_back(synapse.Weight);
        data.push_back(static_cast<double>(synapse.Mediators.size()));
        marks.resize(data.size(), false);
        for (const TMediator& mediator : synapse.Mediators) {
          data.insert(data.end(), {mediator.Bound, mediator.Value, mediator.Multiplier,
                                   static_cast<double>(mediator.HitCount)});
          marks.insert(marks.end(), {true, false, false, false});
        }
      }
    }
  }
  marks.resize(data.size(), false);
  if (bounds) *bounds = std::move(marks);
  return data;
}

ExportKind ExportKindOf(const std::string& path) {
  if (EndsWith(path, ".js")) return ExportKind::JavaScript;
  if (EndsWith(path, ".cpp")) return ExportKind::Cpp;
  if (EndsWith(path, ".pas")) return ExportKind::Pascal;
  throw Error(path + ": an export path must end in .js, .cpp or .pas");
}

std::string FormatExport(const TKNet& net, ExportKind kind, const std::string& stamp) {
  std::vector<bool> bounds;
  const std::vector<double> data = FlatModelArray(net, &bounds);
  switch (kind) {
    case ExportKind::Cpp: return CppExport(net, data, bounds, stamp);
    case ExportKind::Pascal: return PascalExport(net, data, bounds, stamp);
    case ExportKind::JavaScript: break;
  }
  return JavaScriptExport(net, data, bounds, stamp);
}

void WriteExport(const std::string& path, const TKNet& net) {
  WriteFileAtomically(path, FormatExport(net, ExportKindOf(path), ExportTimeStamp()));
}

std::string CommonJsForm(const std::string& exported) {
  const std::string declaration = "export const qnet = {";
  const std::size_t at = exported.find("\r\n" + declaration + "\r\n");
  if (at == std::string::npos || exported.size() < 2 || exported.compare(exported.size() - 2, 2, "\r\n") != 0)
    throw Error("not a JavaScript export of an engine model");
  std::string text = exported;
  text.replace(at + 2, declaration.size(), "const qnet = {");
  return text + "\r\nmodule.exports = qnet";
}

void ConvertToCommonJs(const std::string& path) {
  std::string text;
  try {
    text = CommonJsForm(ReadWholeFile(path));
  } catch (const Error& error) {
    const std::string what = error.what();
    throw Error(what.rfind(path, 0) == 0 ? what : path + ": " + what);
  }
  WriteFileAtomically(path, text);
}

std::string ExportTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

}  // namespace qnet
