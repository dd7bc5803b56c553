#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <string>

#include "error.hpp"
#include "layer_stepper.hpp"
#include "model.hpp"

namespace qnet {

namespace {

std::int64_t TickCount() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void InitialiseLayer(TKNet& net, TNeuronLayer& layer) {
  for (TNeuron& neuron : layer.Neurons) {
    neuron.TrainCalc = net.TrainCalc;
    neuron.IntervalCount = net.IntervalCount;
    neuron.WeightInit = net.WeightInit;
    if (neuron.MinSignal == 0.0 && neuron.MaxSignal == 0.0) {
      neuron.MinSignal = net.MinSignal;
      neuron.MaxSignal = net.MaxSignal;
    }
    const int count = neuron.IntervalCount;
    for (TSynapse& synapse : neuron.Synapses) {
      synapse.Weight = 1.0;
      synapse.Active = -1;
      synapse.AutoInterval = count == 0;
      synapse.Mediators.clear();
      for (int i = 0; i < count; ++i) {
        const double bound = i == count - 1
                                 ? neuron.MaxSignal
                                 : neuron.MinSignal + i * (neuron.MaxSignal - neuron.MinSignal) / (count - 1);
        synapse.Mediators.push_back(TMediator{bound, 1.0, 1.0, 0});
      }
    }
  }
}

// Signal range of the patterns: the smallest and largest input value.
void TakeSignalRange(TKNet& net) {
  const std::vector<double>& inputs = net.Patterns.Inputs;
  if (inputs.empty()) return;
  const auto [low, high] = std::minmax_element(inputs.begin(), inputs.end());
  net.MinSignal = *low;
  net.MaxSignal = *high;
}

// A new presentation order of all patterns, seeded from the clock.
void MixOrder(TKNet& net) {
  net.PatternOrder.resize(net.Patterns.Count());
  for (std::size_t i = 0; i < net.PatternOrder.size(); ++i) net.PatternOrder[i] = i;
  std::mt19937_64 random(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  std::shuffle(net.PatternOrder.begin(), net.PatternOrder.end(), random);
}

}  // namespace

void TKNet::TrainAllLayers() {
  if (LayerCount - 1 < 1) return;
  if (Layers.size() != static_cast<std::size_t>(LayerCount - 1)) BuildLayers();
  if (OnBeforeTeach) OnBeforeTeach(*this);
  const std::int64_t start = TickCount();
  for (std::size_t layer = 0; layer < Layers.size(); ++layer) TrainLayer(layer);
  TrainTime = TickCount() - start;
  if (OnAfterTeach) OnAfterTeach(*this);
}

void TKNet::TrainLayer(std::size_t layer_index) {
  if (layer_index >= Layers.size()) throw Error("no computing layer " + std::to_string(layer_index + 1));
  const std::size_t patterns = Patterns.Count();
  const std::size_t presented = static_cast<std::size_t>(std::nearbyint(TrainPatterns * static_cast<double>(patterns)));
  if (presented == 0) throw Error("the model has no training patterns to present");
  TNeuronLayer& layer = Layers[layer_index];
  if (layer.Neurons.size() != Patterns.OutputCount)
    throw Error("layer " + std::to_string(layer_index + 1) + " has " + std::to_string(layer.Neurons.size()) +
                " neurons for " + std::to_string(Patterns.OutputCount) + " targets");
  for (const TNeuron& neuron : layer.Neurons)
    if (neuron.Synapses.size() > Patterns.InputCount)
      throw Error("layer " + std::to_string(layer_index + 1) + " reads more inputs than the patterns hold");

  if (!ContinueTeach) {
    TakeSignalRange(*this);
    InitialiseLayer(*this, layer);
    EpochCurrent = 0;
  }
  StopTeach = false;
  TeachStopped = false;

  std::unique_ptr<LayerStepper> stepper;
  if (Path == TrainingPath::Automatic) stepper = MakeSharedBoundsStepper(layer, patterns);
  if (!stepper) stepper = MakeGeneralStepper(layer);

  std::vector<double> outputs(layer.Neurons.size());
  while (EpochCurrent < EpochCount) {
    ++EpochCurrent;
    ErrorSum = 0.0;
    MaxTrainError = 0.0;
    RecognizedTeachCount = 0;
    if (MixPatterns) MixOrder(*this);
    for (std::size_t i = 0; i < presented; ++i) {
      const std::size_t row = MixPatterns ? PatternOrder[i] : i;
      const double* desired = Patterns.TargetRow(row);
      stepper->Compute(row, Patterns.InputRow(row), outputs.data());
      const double error = PatternError(outputs.data(), desired, outputs.size());
      if (IdentError > error) ++RecognizedTeachCount;
      ErrorSum += error;
      MaxTrainError = i == 0 ? error : std::max(MaxTrainError, error);
      stepper->Fit(desired, outputs.data());
    }
    TrainError = ErrorSum / static_cast<double>(presented);
    if (TrainErrorLevel > 0.0 && TrainErrorLevel >= TrainError) StopTeach = true;
    if (OnEpochPassed) {
      stepper->Store();  // the handler sees the model as it stands
      OnEpochPassed(*this);
    }
    if (StopTeach) {
      TeachStopped = true;
      break;
    }
    if (EpochCurrent < EpochCount && (Density > 0 || AutoIntervals)) stepper->Pack(Density);
  }
  stepper->Store();
}

}  // namespace qnet
