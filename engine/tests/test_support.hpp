#pragma once
// Small fixtures the engine's tests share.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model.hpp"

namespace qnet::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("qnet-test-" + std::to_string(std::random_device{}()) + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// A net set up the way the templates create theirs: two layers, intervals
// grown from the data, packing between epochs.
inline TKNet TemplateNet(int inputs, int outputs, int epochs) {
  TKNet net;
  net.LayerCount = 2;
  net.InputNeuronCount = inputs;
  net.OutputNeuronCount = outputs;
  net.EpochCount = epochs;
  net.IntervalCount = 0;
  net.AutoIntervals = true;
  net.BuildLayers();
  return net;
}

// Random patterns with class-dependent inputs and 100-coded targets; values
// are drawn from a small grid so that inputs repeat, as real features do.
inline PatternSet RandomPatterns(std::size_t inputs, std::size_t outputs, std::size_t count, unsigned seed,
                                 double grid = 0.25) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> step(-8, 40);
  PatternSet set;
  set.InputCount = inputs;
  set.OutputCount = outputs;
  for (std::size_t row = 0; row < count; ++row) {
    const std::size_t label = row % outputs;
    for (std::size_t i = 0; i < inputs; ++i) set.Inputs.push_back(step(random) * grid + static_cast<double>(label));
    for (std::size_t k = 0; k < outputs; ++k) set.Targets.push_back(outputs == 1 ? static_cast<double>(label % 3)
                                                                               : (k == label ? 100.0 : 0.0));
  }
  return set;
}

}  // namespace qnet::test
