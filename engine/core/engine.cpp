#include "engine.hpp"

#include <cstdio>
#include <filesystem>

#include "atomic_file.hpp"
#include "error.hpp"
#include "export_file.hpp"
#include "model_file.hpp"
#include "table_file.hpp"

namespace qnet {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

long long WholeKeyword(const PropertyValue& value, const std::string& key) {
  if (const long long* i = std::get_if<long long>(&value)) return *i;
  if (const bool* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  throw Error("keyword " + key + " takes a whole number");
}

std::string TextKeyword(const PropertyValue& value, const std::string& key) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  throw Error("keyword " + key + " takes a text");
}

// Applies one keyword of `new`; zero leaves the default in place.
void ApplyKeyword(TKNet& net, const std::string& key, const PropertyValue& value) {
  if (key == "qnetfile") { net.IniFileName = TextKeyword(value, key); return; }
  if (key == "datafile") { net.DataFileName = TextKeyword(value, key); return; }
  const long long whole = WholeKeyword(value, key);
  struct Target { const char* keyword; const char* property; };
  static const Target targets[] = {{"layers", "LayerCount"},   {"neurons", "NeuronCount"},
                                   {"inputs", "InputNeuronCount"}, {"outputs", "OutputNeuronCount"},
                                   {"density", "Density"},      {"epoch", "EpochCount"}};
  for (const Target& target : targets) {
    if (key != target.keyword) continue;
    if (whole != 0) SetProperty(net, target.property, whole);
    return;
  }
  if (key == "intervals") {
    if (whole != 10) SetProperty(net, "IntervalCount", whole);
  } else if (key == "patterns") {
    if (whole != 0) net.SetTrainPatterns(static_cast<double>(whole));
  } else if (key == "autointervals") {
    if (whole != 0) net.AutoIntervals = true;
  } else if (key == "interpolate") {
    if (whole != 0) net.Interpolate = true;
  } else {
    throw Error("unknown keyword '" + key + "'");
  }
}

// Writes the table of the model's outputs for every training pattern.
void WriteEpochLog(const TKNet& net, const std::string& log_path) {
  std::vector<double> outputs;
  std::vector<double> inputs(net.Patterns.InputCount);
  for (std::size_t row = 0; row < net.Patterns.Count(); ++row) {
    inputs.assign(net.Patterns.InputRow(row), net.Patterns.InputRow(row) + net.Patterns.InputCount);
    const std::vector<double> result = net.Compute(inputs);
    outputs.insert(outputs.end(), result.begin(), result.end());
  }
  WriteFileAtomically(EpochLogPath(log_path, net.EpochCurrent),
                      FormatOutputTable(outputs, static_cast<std::size_t>(net.OutputNeuronCount)));
}

std::size_t MediatorCount(const TKNet& net) {
  std::size_t count = 0;
  for (const TNeuronLayer& layer : net.Layers)
    for (const TNeuron& neuron : layer.Neurons)
      for (const TSynapse& synapse : neuron.Synapses) count += synapse.Mediators.size();
  return count;
}

}  // namespace

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

std::string EpochLogPath(const std::string& log_path, int epoch) {
  const std::filesystem::path path(NativePath(log_path));
  return (path.parent_path() / (path.stem().string() + std::to_string(epoch) + path.extension().string())).string();
}

int Engine::New(const Keywords& keywords) {
  auto net = std::make_unique<TKNet>();
  for (const auto& [key, value] : keywords) ApplyKeyword(*net, key, value);
  net->BuildLayers();
  models_.push_back(std::move(net));
  return static_cast<int>(models_.size() - 1);
}

int Engine::NewEmpty() {
  models_.push_back(std::make_unique<TKNet>());
  return static_cast<int>(models_.size() - 1);
}

TKNet& Engine::Model(long long handle) {
  if (handle < 0 || handle >= static_cast<long long>(models_.size()) || !models_[static_cast<std::size_t>(handle)])
    throw Error("unknown model handle " + std::to_string(handle));
  return *models_[static_cast<std::size_t>(handle)];
}

void Engine::AddPattern(long long handle, const std::vector<double>& inputs, const std::vector<double>& targets) {
  Model(handle).AddPattern(inputs, targets);
}

std::string Engine::Load(long long handle, const std::string& path) {
  TKNet& net = Model(handle);
  const std::string native = NativePath(path);
  if (EndsWith(native, ".csv")) {
    PatternSet patterns = ReadTrainingTable(native);
    try {
      net.ReplacePatterns(std::move(patterns));
    } catch (const Error& error) {
      throw Error(path + ": " + error.what());
    }
    net.DataFileName = path;
    return "Loaded " + std::to_string(net.PatternCount()) + " patterns from " + path;
  }
  if (EndsWith(native, ".nnw")) {
    ReadModelFile(native, net);
    return "Loaded model from " + path;
  }
  throw Error(path + ": load reads a .csv training table or a .nnw model file");
}

std::string Engine::Info(long long handle) {
  const TKNet& net = Model(handle);
  char text[400];
  std::snprintf(text, sizeof text,
                "Q-Net model: Inputs=%d Outputs=%d Layers=%d Patterns=%d Epochs=%d Intervals=%d AutoIntervals=%s "
                "Density=%d Mediators=%zu",
                net.InputNeuronCount, net.OutputNeuronCount, net.LayerCount, net.PatternCount(), net.EpochCount,
                net.IntervalCount, net.AutoIntervals ? "on" : "off", net.Density, MediatorCount(net));
  return text;
}

std::string Engine::Train(long long handle, const std::optional<std::string>& log_path) {
  TKNet& net = Model(handle);
  if (net.PatternCount() == 0) throw Error("the model has no training patterns");
  TNetEvent previous = net.OnEpochPassed;
  if (log_path) {
    const std::filesystem::path folder = std::filesystem::path(NativePath(*log_path)).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    net.OnEpochPassed = [path = *log_path](TKNet& model) { WriteEpochLog(model, path); };
  }
  try {
    net.TrainAllLayers();
  } catch (...) {
    net.OnEpochPassed = previous;
    throw;
  }
  net.OnEpochPassed = previous;
  char text[200];
  std::snprintf(text, sizeof text, "Training Q-Net Patterns=%d Epoch=%d Error=%6.6f Time=%lld ms.", net.PatternCount(),
                net.EpochCount, net.TrainError, static_cast<long long>(net.TrainTime));
  return text;
}

std::string Engine::Save(long long handle, const std::string& path) {
  TKNet& net = Model(handle);
  const std::string native = NativePath(path);
  if (EndsWith(native, ".nnw")) {
    WriteModelFile(native, net);
    net.IniFileName = path;
  } else if (EndsWith(native, ".csv")) {
    if (net.PatternCount() == 0) throw Error(path + ": the model holds no training patterns to save");
    WriteTrainingTable(native, net.Patterns);
    net.DataFileName = path;
  } else {
    throw Error(path + ": save writes a .nnw model file or a .csv training table");
  }
  return path;
}

std::string Engine::Source(long long handle, const std::string& path) {
  WriteExport(NativePath(path), Model(handle));
  return path;
}

std::vector<double> Engine::Compute(long long handle, const std::vector<double>& inputs) {
  return Model(handle).Compute(inputs);
}

std::string Engine::Fit(long long handle, const std::vector<std::vector<double>>& inputs,
                        const std::vector<std::vector<double>>& targets) {
  TKNet& net = Model(handle);
  if (inputs.size() != targets.size())
    throw Error(std::to_string(inputs.size()) + " input rows but " + std::to_string(targets.size()) + " target rows");
  TKNet staged;  // the rows are checked in full before the model changes
  staged.InputNeuronCount = net.InputNeuronCount;
  staged.OutputNeuronCount = net.OutputNeuronCount;
  for (std::size_t row = 0; row < inputs.size(); ++row) staged.AddPattern(inputs[row], targets[row]);
  net.Patterns = std::move(staged.Patterns);
  return Train(handle, std::nullopt);
}

}  // namespace qnet
