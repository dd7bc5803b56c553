#include "model.hpp"

#include <cmath>
#include <string>

#include "error.hpp"
#include "synapse.hpp"

namespace qnet {

void TKNet::SetTrainPatterns(double share) {
  if (std::isnan(share)) throw Error("TrainPatterns must be a number");
  TrainPatterns = share < 0.0 ? 0.0 : (share > 1.0 ? 1.0 : share);
}

void TKNet::BuildLayers() {
  if (LayerCount < 1) throw Error("LayerCount must be at least 1, not " + std::to_string(LayerCount));
  if (InputNeuronCount < 0 || OutputNeuronCount < 0) throw Error("input and output counts must not be negative");
  Layers.assign(static_cast<std::size_t>(LayerCount - 1), TNeuronLayer{});
  std::size_t synapses = static_cast<std::size_t>(InputNeuronCount);
  for (TNeuronLayer& layer : Layers) {
    layer.Neurons.assign(static_cast<std::size_t>(OutputNeuronCount), TNeuron{});
    for (TNeuron& neuron : layer.Neurons) neuron.Synapses.assign(synapses, TSynapse{});
    synapses = layer.Neurons.size();
  }
}

namespace {

void CheckFinite(const std::vector<double>& values, const char* what, std::size_t pattern) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]))
      throw Error("pattern " + std::to_string(pattern + 1) + ": " + what + " " + std::to_string(i + 1) +
                  " is not a finite number");
  }
}

}  // namespace

void TKNet::AddPattern(const std::vector<double>& inputs, const std::vector<double>& targets) {
  if (InputNeuronCount <= 0 || OutputNeuronCount <= 0)
    throw Error("the model has no inputs or outputs yet; create it with inputs and outputs first");
  const std::size_t row = Patterns.Count();
  if (inputs.size() != static_cast<std::size_t>(InputNeuronCount))
    throw Error("pattern " + std::to_string(row + 1) + ": " + std::to_string(inputs.size()) + " inputs given, the model has " +
                std::to_string(InputNeuronCount));
  if (targets.size() != static_cast<std::size_t>(OutputNeuronCount))
    throw Error("pattern " + std::to_string(row + 1) + ": " + std::to_string(targets.size()) +
                " targets given, the model has " + std::to_string(OutputNeuronCount));
  CheckFinite(inputs, "input", row);
  CheckFinite(targets, "target", row);
  if (Patterns.Count() == 0) {
    Patterns = PatternSet{};
    Patterns.InputCount = inputs.size();
    Patterns.OutputCount = targets.size();
  }
  Patterns.Inputs.insert(Patterns.Inputs.end(), inputs.begin(), inputs.end());
  Patterns.Targets.insert(Patterns.Targets.end(), targets.begin(), targets.end());
}

void TKNet::ReplacePatterns(PatternSet patterns) {
  if (InputNeuronCount > 0 && patterns.InputCount != static_cast<std::size_t>(InputNeuronCount))
    throw Error("the table has " + std::to_string(patterns.InputCount) + " inputs, the model " + std::to_string(InputNeuronCount));
  if (OutputNeuronCount > 0 && patterns.OutputCount != static_cast<std::size_t>(OutputNeuronCount))
    throw Error("the table has " + std::to_string(patterns.OutputCount) + " outputs, the model " +
                std::to_string(OutputNeuronCount));
  const bool resized = InputNeuronCount <= 0 || OutputNeuronCount <= 0;
  InputNeuronCount = static_cast<int>(patterns.InputCount);
  OutputNeuronCount = static_cast<int>(patterns.OutputCount);
  Patterns = std::move(patterns);
  if (resized) BuildLayers();
}

std::vector<double> TKNet::Compute(const std::vector<double>& inputs) const {
  if (inputs.size() != static_cast<std::size_t>(InputNeuronCount))
    throw Error(std::to_string(inputs.size()) + " inputs given, the model has " + std::to_string(InputNeuronCount));
  std::vector<double> out(static_cast<std::size_t>(OutputNeuronCount), 0.0);
  for (const TNeuronLayer& layer : Layers) {
    for (std::size_t n = 0; n < layer.Neurons.size() && n < out.size(); ++n) {
      double sum = 0.0;
      const TNeuron& neuron = layer.Neurons[n];
      for (std::size_t s = 0; s < neuron.Synapses.size() && s < inputs.size(); ++s)
        sum += neuron.Synapses[s].Weight * SynapseValue(neuron.Synapses[s], inputs[s]);
      out[n] += sum;
    }
  }
  if (Layers.size() > 1)
    for (double& value : out) value /= static_cast<double>(Layers.size());
  return out;
}

double TKNet::PatternError(const double* outputs, const double* desired, std::size_t count) const {
  double total = 0.0;
  for (std::size_t k = 0; k < count; ++k) {
    const double diff = outputs[k] - desired[k];
    switch (ErrorType) {
      case 0: case 3: total += std::fabs(diff); break;
      case 2: {
        const double scale = std::fmax(std::fabs(outputs[k]), std::fabs(desired[k]));
        const double relative = scale == 0.0 ? 0.0 : diff / scale;
        total += relative * relative;
        break;
      }
      default: total += diff * diff; break;
    }
  }
  const bool mean = ErrorType <= 2;
  return mean && OutputNeuronCount > 0 ? total / OutputNeuronCount : total;
}

}  // namespace qnet
