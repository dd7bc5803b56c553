#pragma once
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model.hpp"
#include "properties.hpp"

namespace qnet {

// The models a process holds, by whole-number handle, and the operations
// callers run on them. Every fault is a qnet::Error with a clear message.
class Engine {
 public:
  using Keywords = std::vector<std::pair<std::string, PropertyValue>>;

  // A new model set up from the keywords of `new`; returns its handle.
  int New(const Keywords& keywords);
  // A new model with the defaults, to be filled by Load of a model file.
  int NewEmpty();

  TKNet& Model(long long handle);

  void AddPattern(long long handle, const std::vector<double>& inputs, const std::vector<double>& targets);
  // .csv: the training table becomes the patterns; .nnw: the trained model.
  std::string Load(long long handle, const std::string& path);
  std::string Info(long long handle);
  // Trains for EpochCount epochs; with a log path, writes one table of the
  // outputs for every pattern per epoch into the log path's folder.
  std::string Train(long long handle, const std::optional<std::string>& log_path);
  // .nnw: the model file; .csv: the training table.
  std::string Save(long long handle, const std::string& path);
  // .js, .cpp or .pas export.
  std::string Source(long long handle, const std::string& path);
  std::vector<double> Compute(long long handle, const std::vector<double>& inputs);
  // Replaces the patterns by the given rows and trains on them.
  std::string Fit(long long handle, const std::vector<std::vector<double>>& inputs,
                  const std::vector<std::vector<double>>& targets);

 private:
  std::vector<std::unique_ptr<TKNet>> models_;
};

// A path as the scripts give it, with backslashes as folder separators.
std::string NativePath(const std::string& path);

// The name of the log table of an epoch: "log/qnet.csv" and 12 give
// "log/qnet12.csv", so that the names sort by length into epoch order.
std::string EpochLogPath(const std::string& log_path, int epoch);

}  // namespace qnet
