#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qnet {

// One interval of a synapse: it covers the inputs above the previous
// mediator's bound up to and including its own.
struct TMediator {
  double Bound = 0.0;
  double Value = 1.0;
  double Multiplier = 1.0;
  std::int64_t HitCount = 0;
};

inline bool operator==(const TMediator& a, const TMediator& b) {
  return a.Bound == b.Bound && a.Value == b.Value && a.Multiplier == b.Multiplier && a.HitCount == b.HitCount;
}

struct TSynapse {
  double Weight = 1.0;
  bool AutoInterval = false;  // grows its mediators from the data
  std::vector<TMediator> Mediators;
  std::ptrdiff_t Active = -1;  // the mediator that caught the last input
};

struct TNeuron {
  double Output = 0.0;
  bool TrainCalc = false;
  int IntervalCount = 0;
  double MinSignal = 0.0;
  double MaxSignal = 0.0;
  int WeightInit = 3;
  std::vector<TSynapse> Synapses;
};

struct TNeuronLayer {
  std::vector<TNeuron> Neurons;
};

// Training patterns, row by row: inputs and desired outputs kept flat.
struct PatternSet {
  std::size_t InputCount = 0;
  std::size_t OutputCount = 0;
  std::vector<double> Inputs;
  std::vector<double> Targets;

  std::size_t Count() const { return InputCount == 0 ? 0 : Inputs.size() / InputCount; }
  const double* InputRow(std::size_t row) const { return Inputs.data() + row * InputCount; }
  const double* TargetRow(std::size_t row) const { return Targets.data() + row * OutputCount; }
};

class TKNet;
using TNetEvent = std::function<void(TKNet&)>;

// How a training walks the mediators. Automatic picks the shared-bounds
// path whenever every neuron of a layer holds the same intervals.
enum class TrainingPath { Automatic, General };

class TKNet {
 public:
  // Published properties, in declaration order.
  int InputNeuronCount = 0;
  int OutputNeuronCount = 0;
  int LayerCount = 2;
  std::string IniFileName;
  std::string DataFileName;
  int IntervalCount = 10;
  bool AutoIntervals = false;
  double MinSignal = 0.0;
  double MaxSignal = 1.0;
  int NeuronCount = 0;
  double TrainPatterns = 1.0;
  bool MixPatterns = false;
  int Epoch = 1;
  int EpochCount = 50;
  int ErrorType = 1;
  double IdentError = 0.05;
  double TrainError = 0.05;
  double TrainErrorLevel = 0.0;
  double MaxTrainError = 0.05;
  std::int64_t TrainTime = 0;
  bool TrainCalc = false;
  int Density = 0;
  bool Interpolate = false;
  int RecognizedTeachCount = 0;
  int WeightInit = 3;
  TNetEvent OnBeforeTeach;
  TNetEvent OnEpochPassed;
  TNetEvent OnAfterTeach;

  // Kept but not published.
  bool ContinueTeach = false;
  int EpochCurrent = 0;
  bool StopTeach = false;
  bool TeachStopped = false;
  double ErrorSum = 0.0;
  std::vector<std::size_t> PatternOrder;

  // Computing layers 1 .. LayerCount - 1, stored from index 0.
  std::vector<TNeuronLayer> Layers;
  PatternSet Patterns;
  TrainingPath Path = TrainingPath::Automatic;

  int PatternCount() const { return static_cast<int>(Patterns.Count()); }
  void SetTrainPatterns(double share);

  // Makes the layer structure match LayerCount, InputNeuronCount and
  // OutputNeuronCount: every computing layer has one neuron per output, the
  // first one synapse per input, later ones one per neuron of the layer before.
  void BuildLayers();

  // Adds one pattern; refuses wrong lengths and values that are not finite.
  void AddPattern(const std::vector<double>& inputs, const std::vector<double>& targets);
  void ReplacePatterns(PatternSet patterns);

  // Evaluates the net without touching it: every computing layer reads the
  // inputs, an input outside every interval (or NaN) adds nothing, and with
  // several computing layers the outputs are averaged. The input list must
  // hold exactly InputNeuronCount values.
  std::vector<double> Compute(const std::vector<double>& inputs) const;

  // Trains every computing layer for EpochCount epochs.
  void TrainAllLayers();
  void TrainLayer(std::size_t layer_index);

  // Pattern error of the given outputs against the desired ones.
  double PatternError(const double* outputs, const double* desired, std::size_t count) const;
};

}  // namespace qnet
