// Training speed of the engine on the shapes the templates train, with
// synthetic tables: the general (reference) path, the shared-bounds path,
// and a floor loop that only reads and writes the interval values a pattern
// touches. Usage: qnet_bench [--quick]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model.hpp"
#include "model_file.hpp"

namespace {

struct Shape {
  const char* name;
  int inputs, outputs, patterns, epochs;
  int quick_epochs;
  int reference_epochs;  // the general path is slow; it runs at most this many
};

const Shape kShapes[] = {
    {"speaker", 1000, 6, 400, 10, 3, 10},
    {"chat", 32, 135, 3000, 200, 6, 20},
    {"face", 288, 2, 60, 300, 60, 300},
    {"emotion", 326, 7, 500, 100, 8, 30},
};

// Continuous features that shift with the class, 100-coded targets.
qnet::PatternSet SyntheticTable(const Shape& shape) {
  std::mt19937_64 random(1234);
  std::normal_distribution<double> noise(0.0, 1.0);
  qnet::PatternSet set;
  set.InputCount = static_cast<std::size_t>(shape.inputs);
  set.OutputCount = static_cast<std::size_t>(shape.outputs);
  for (int p = 0; p < shape.patterns; ++p) {
    const int label = p % shape.outputs;
    for (int i = 0; i < shape.inputs; ++i) set.Inputs.push_back(noise(random) + 0.3 * ((label + i) % 5));
    for (int k = 0; k < shape.outputs; ++k) set.Targets.push_back(k == label ? 100.0 : 0.0);
  }
  return set;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Run {
  double rate;
  std::string file;
  qnet::TKNet net;
};

Run Train(const Shape& shape, const qnet::PatternSet& table, int epochs, qnet::TrainingPath path) {
  Run run;
  run.net.LayerCount = 2;
  run.net.InputNeuronCount = shape.inputs;
  run.net.OutputNeuronCount = shape.outputs;
  run.net.IntervalCount = 0;
  run.net.AutoIntervals = true;
  run.net.EpochCount = epochs;
  run.net.Path = path;
  run.net.BuildLayers();
  run.net.ReplacePatterns(table);
  const auto start = std::chrono::steady_clock::now();
  run.net.TrainAllLayers();
  run.rate = static_cast<double>(shape.patterns) * epochs / Seconds(start);
  run.file = qnet::FormatModelFile(run.net);
  return run;
}

// Per pattern: for every input, the K values of the interval it falls in
// are read into the outputs and then written back with the correction.
double Floor(const Shape& shape, const qnet::PatternSet& table, const qnet::TKNet& trained, int epochs) {
  const std::size_t n = static_cast<std::size_t>(shape.inputs), k = static_cast<std::size_t>(shape.outputs);
  std::vector<std::vector<double>> values(n);
  std::vector<std::uint32_t> cell(table.Count() * n);
  for (std::size_t s = 0; s < n; ++s) {
    const auto& mediators = trained.Layers[0].Neurons[0].Synapses[s].Mediators;
    values[s].assign(mediators.size() * k, 1.0);
    std::vector<double> bounds;
    for (const auto& m : mediators) bounds.push_back(m.Bound);
    for (std::size_t p = 0; p < table.Count(); ++p) {
      const auto at = std::lower_bound(bounds.begin(), bounds.end(), table.InputRow(p)[s]) - bounds.begin();
      cell[p * n + s] = static_cast<std::uint32_t>(std::min<std::ptrdiff_t>(at, static_cast<std::ptrdiff_t>(bounds.size()) - 1));
    }
  }
  std::vector<double> out(k), delta(k);
  const auto start = std::chrono::steady_clock::now();
  for (int e = 0; e < epochs; ++e)
    for (std::size_t p = 0; p < table.Count(); ++p) {
      std::fill(out.begin(), out.end(), 0.0);
      for (std::size_t s = 0; s < n; ++s) {
        const double* v = &values[s][cell[p * n + s] * k];
        for (std::size_t j = 0; j < k; ++j) out[j] += v[j];
      }
      for (std::size_t j = 0; j < k; ++j) delta[j] = (table.TargetRow(p)[j] - out[j]) / static_cast<double>(n);
      for (std::size_t s = 0; s < n; ++s) {
        double* v = &values[s][cell[p * n + s] * k];
        for (std::size_t j = 0; j < k; ++j) v[j] += delta[j];
      }
    }
  const double rate = static_cast<double>(table.Count()) * epochs / Seconds(start);
  volatile double sink = values[0][0];  // keeps the loop from being dropped
  (void)sink;
  return rate;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  if (argc > 1 && !quick) {
    std::fprintf(stderr, "usage: qnet_bench [--quick]\n");
    return 2;
  }
  int status = 0;
  for (const Shape& shape : kShapes) {
    const qnet::PatternSet table = SyntheticTable(shape);
    const int epochs = quick ? shape.quick_epochs : shape.epochs;
    const int reference_epochs = std::min(epochs, quick ? std::max(1, shape.quick_epochs / 3) : shape.reference_epochs);
    const Run reference = Train(shape, table, reference_epochs, qnet::TrainingPath::General);
    const Run same = Train(shape, table, reference_epochs, qnet::TrainingPath::Automatic);
    if (same.file != reference.file) {
      std::fprintf(stderr, "shape %s: the two paths wrote different model files\n", shape.name);
      status = 1;
    }
    // The machine is shared: the best of three runs of the fast path and the floor.
    Run fast = Train(shape, table, epochs, qnet::TrainingPath::Automatic);
    double floor = Floor(shape, table, fast.net, epochs);
    for (int repeat = 0; repeat < 2; ++repeat) {
      fast.rate = std::max(fast.rate, Train(shape, table, epochs, qnet::TrainingPath::Automatic).rate);
      floor = std::max(floor, Floor(shape, table, fast.net, epochs));
    }
    std::printf("shape %s N=%d K=%d: reference %.0f/s, fast %.0f/s, floor %.0f/s, fast/reference %.1f, floor/fast %.2f\n",
                shape.name, shape.inputs, shape.outputs, reference.rate, fast.rate, floor, fast.rate / reference.rate,
                floor / fast.rate);
    std::fflush(stdout);
  }
  return status;
}
