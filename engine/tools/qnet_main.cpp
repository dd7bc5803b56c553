// qnet: trains, exports and evaluates engine models from the command line.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "atomic_file.hpp"
#include "engine.hpp"
#include "error.hpp"
#include "export_file.hpp"
#include "model_file.hpp"
#include "number_format.hpp"
#include "table_file.hpp"

namespace {

const char kUsage[] =
    "usage:\n"
    "  qnet train TABLE.csv --epochs E [--outputs K] -o MODEL.nnw [--export MODEL.js] [--quiet]\n"
    "      trains a model on a training table (header in1..inN,out1..outK)\n"
    "  qnet export [--commonjs] MODEL.nnw OUT.js|OUT.cpp|OUT.pas\n"
    "      writes the browser export (or its C++ or Pascal form) of a model;\n"
    "      --commonjs writes the .js export as a CommonJS module\n"
    "  qnet predict MODEL.nnw INPUTS.csv\n"
    "      prints the model's outputs for every row of a table (header in1..inN, out columns ignored)\n"
    "  qnet --help\n";

struct UsageError : qnet::Error {
  using qnet::Error::Error;
};

long long WholeArgument(const std::string& option, const std::string& text) {
  double value = 0.0;
  if (!qnet::ParseNumber(text, value) || value != static_cast<double>(static_cast<long long>(value)) || value < 0)
    throw UsageError(option + " takes a whole number, not '" + text + "'");
  return static_cast<long long>(value);
}

int Train(const std::vector<std::string>& args) {
  std::string table, model, exported;
  long long epochs = -1, outputs = -1;
  bool quiet = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--epochs") epochs = WholeArgument(arg, value());
    else if (arg == "--outputs") outputs = WholeArgument(arg, value());
    else if (arg == "-o" || arg == "--output") model = value();
    else if (arg == "--export") exported = value();
    else if (arg == "--quiet") quiet = true;
    else if (!arg.empty() && arg[0] == '-') throw UsageError("unknown option " + arg);
    else if (table.empty()) table = arg;
    else throw UsageError("unexpected argument " + arg);
  }
  if (table.empty() || model.empty() || epochs < 0) throw UsageError("train needs TABLE.csv, --epochs and -o MODEL.nnw");

  qnet::PatternSet patterns = qnet::ReadTrainingTable(table);
  if (outputs >= 0 && static_cast<std::size_t>(outputs) != patterns.OutputCount)
    throw qnet::Error(table + ": the header names " + std::to_string(patterns.OutputCount) + " outputs, --outputs says " +
                      std::to_string(outputs));
  qnet::Engine engine;
  const int handle = engine.New({{"layers", 2LL},
                                 {"inputs", static_cast<long long>(patterns.InputCount)},
                                 {"outputs", static_cast<long long>(patterns.OutputCount)},
                                 {"epoch", epochs},
                                 {"intervals", 0LL},
                                 {"autointervals", true}});
  qnet::TKNet& net = engine.Model(handle);
  net.ReplacePatterns(std::move(patterns));
  if (!quiet)
    net.OnEpochPassed = [](qnet::TKNet& n) {
      std::fprintf(stderr, "epoch %d/%d error %.6f\n", n.EpochCurrent, n.EpochCount, n.TrainError);
    };
  std::cout << engine.Train(handle, std::nullopt) << "\n";
  engine.Save(handle, model);
  if (!exported.empty()) engine.Source(handle, exported);
  return 0;
}

int Export(std::vector<std::string> args) {
  const bool commonjs = !args.empty() && args[0] == "--commonjs";
  if (commonjs) args.erase(args.begin());
  if (args.size() != 2) throw UsageError("export needs MODEL.nnw and an output path");
  if (commonjs && qnet::ExportKindOf(args[1]) != qnet::ExportKind::JavaScript)
    throw UsageError("--commonjs needs a .js output");
  qnet::TKNet net;
  qnet::ReadModelFile(args[0], net);
  const std::string text = qnet::FormatExport(net, qnet::ExportKindOf(args[1]), qnet::ExportTimeStamp());
  qnet::WriteFileAtomically(args[1], commonjs ? qnet::CommonJsForm(text) : text);
  return 0;
}

int Predict(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("predict needs MODEL.nnw and INPUTS.csv");
  qnet::TKNet net;
  qnet::ReadModelFile(args[0], net);
  const qnet::PatternSet rows = qnet::ReadTrainingTable(args[1], false);
  if (rows.InputCount != static_cast<std::size_t>(net.InputNeuronCount))
    throw qnet::Error(args[1] + ": the table has " + std::to_string(rows.InputCount) + " inputs, the model " +
                      std::to_string(net.InputNeuronCount));
  std::string text;
  for (int k = 0; k < net.OutputNeuronCount; ++k) text += (k ? ",out" : "out") + std::to_string(k + 1);
  text += "\n";
  for (std::size_t row = 0; row < rows.Count(); ++row) {
    const std::vector<double> out = net.Compute({rows.InputRow(row), rows.InputRow(row) + rows.InputCount});
    for (std::size_t k = 0; k < out.size(); ++k) text += (k ? "," : "") + qnet::FormatFixed(out[k], 8);
    text += "\n";
  }
  std::cout << text;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all(argv + 1, argv + argc);
  if (all.empty() || all[0] == "--help" || all[0] == "-h") {
    std::cout << kUsage;
    return all.empty() ? 2 : 0;
  }
  const std::vector<std::string> args(all.begin() + 1, all.end());
  try {
    if (all[0] == "train") return Train(args);
    if (all[0] == "export") return Export(args);
    if (all[0] == "predict") return Predict(args);
    throw UsageError("unknown command " + all[0]);
  } catch (const UsageError& error) {
    std::cerr << "qnet: " << error.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "qnet: " << error.what() << "\n";
    return 1;
  }
}
