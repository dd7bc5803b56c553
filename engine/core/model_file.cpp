#include "model_file.hpp"

#include <cmath>
#include <cstdio>

#include "atomic_file.hpp"
#include "error.hpp"
#include "number_format.hpp"
#include "text_lines.hpp"

namespace qnet {

namespace {

std::string Index(std::size_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%02zu", value);
  return buffer;
}

std::string SynapseKey(const char* kind, std::size_t layer, std::size_t neuron, std::size_t synapse) {
  return std::string(kind) + "_" + Index(layer) + "_" + Index(neuron) + "_" + Index(synapse);
}

void Line(std::string& text, const std::string& key, const std::string& value) {
  text += key;
  text += " = ";
  text += value;
  text += "\r\n";
}

// A number the reader takes back; a diverged training must not leave a file
// that cannot be read.
double Checked(double value) {
  if (!std::isfinite(value) || std::fabs(value) > kLargestNumber)
    throw Error("the model holds a value that is not a finite number (" + FormatGeneral(value) + "); nothing was written");
  return value;
}

std::string Number(double value) { return FormatGeneral(Checked(value)); }

// Reads the model file line by line, each line with the one key expected next.
class ModelFileParser {
 public:
  ModelFileParser(std::string_view text, const std::string& name) : lines_(text), name_(name) {}

  void ExpectSection() {
    std::string_view line;
    if (!lines_.Next(line) || line != "[K-Net]") Fail(lines_.Number() ? lines_.Number() : 1, "expected the line [K-Net]");
  }

  std::string_view Value(const std::string& key) {
    std::string_view line;
    if (!lines_.Next(line)) Fail(lines_.Number() + 1, "the file ends where " + key + " was expected");
    const std::size_t equals = line.find(" = ");
    if (equals == std::string_view::npos) Fail(lines_.Number(), "expected '" + key + " = value', found " + Quoted(line));
    if (line.substr(0, equals) != key)
      Fail(lines_.Number(), "expected key " + key + ", found " + Quoted(line.substr(0, equals)));
    return line.substr(equals + 3);
  }

  double Real(const std::string& key) { return ToReal(Value(key), key); }

  std::int64_t Whole(const std::string& key, std::int64_t low, std::int64_t high) {
    return ToWhole(Value(key), key, low, high);
  }

  TMediator Mediator(const std::string& key) {
    const std::vector<std::string_view> parts = SplitFields(Value(key), ' ');
    if (parts.size() != 4) Fail(lines_.Number(), key + " needs four numbers, found " + std::to_string(parts.size()));
    return TMediator{ToReal(parts[0], key), ToReal(parts[1], key), ToReal(parts[2], key),
                     ToWhole(parts[3], key, 0, INT64_C(1) << 53)};
  }

  void ExpectEnd() {
    if (!lines_.OnlyBlankLinesLeft()) Fail(lines_.Number() + 1, "unexpected text after the last mediator");
  }

 private:
  [[noreturn]] void Fail(std::size_t line, const std::string& what) {
    throw Error(name_ + ":" + std::to_string(line) + ": " + what);
  }

  double ToReal(std::string_view text, const std::string& key) {
    double value = 0.0;
    if (!ParseNumber(text, value)) Fail(lines_.Number(), key + ": " + Quoted(text) + " is not a finite number");
    return value;
  }

  std::int64_t ToWhole(std::string_view text, const std::string& key, std::int64_t low, std::int64_t high) {
    const double value = ToReal(text, key);
    if (value != std::floor(value) || value < static_cast<double>(low) || value > static_cast<double>(high))
      Fail(lines_.Number(), key + ": " + Quoted(text) + " is not a whole number from " + std::to_string(low) + " to " +
                                std::to_string(high));
    return static_cast<std::int64_t>(value);
  }

  LineReader lines_;
  const std::string& name_;
};

constexpr std::int64_t kMaxCount = 100000000;

}  // namespace

std::string FormatModelFile(const TKNet& net) {
  std::string text = "[K-Net]\r\n";
  Line(text, "MinSignal", Number(net.MinSignal));
  Line(text, "MaxSignal", Number(net.MaxSignal));
  Line(text, "Intervals", std::to_string(net.IntervalCount));
  Line(text, "Train", net.TrainCalc ? "1" : "0");
  Line(text, "Epoch", std::to_string(net.EpochCount));
  Line(text, "LayersCount", std::to_string(net.LayerCount));
  Line(text, "Layer_00", std::to_string(net.InputNeuronCount));
  for (std::size_t l = 0; l < net.Layers.size(); ++l)
    Line(text, "Layer_" + Index(l + 1), std::to_string(net.Layers[l].Neurons.size()));
  for (std::size_t l = 0; l < net.Layers.size(); ++l) {
    const TNeuronLayer& layer = net.Layers[l];
    for (std::size_t n = 0; n < layer.Neurons.size(); ++n) {
      const TNeuron& neuron = layer.Neurons[n];
      for (std::size_t s = 0; s < neuron.Synapses.size(); ++s) {
        const TSynapse& synapse = neuron.Synapses[s];
        Line(text, SynapseKey("NW", l + 1, n, s), Number(synapse.Weight));
        Line(text, SynapseKey("IS", l + 1, n, s), std::to_string(synapse.Mediators.size()));
        for (std::size_t m = 0; m < synapse.Mediators.size(); ++m) {
          const TMediator& mediator = synapse.Mediators[m];
          Line(text, SynapseKey("SS", l + 1, n, s) + "_" + Index(m),
               FormatGeneralNotBelow(Checked(mediator.Bound)) + " " + Number(mediator.Value) + " " + Number(mediator.Multiplier) + " " +
                   std::to_string(mediator.HitCount));
        }
      }
    }
  }
  return text;
}

void WriteModelFile(const std::string& path, const TKNet& net) { WriteFileAtomically(path, FormatModelFile(net)); }

void ParseModelFile(std::string_view text, const std::string& name, TKNet& net) {
  ModelFileParser parser(text, name);
  parser.ExpectSection();
  const double min_signal = parser.Real("MinSignal");
  const double max_signal = parser.Real("MaxSignal");
  const int intervals = static_cast<int>(parser.Whole("Intervals", 0, kMaxCount));
  const bool train_calc = parser.Whole("Train", 0, 1) == 1;
  const int epochs = static_cast<int>(parser.Whole("Epoch", 0, kMaxCount));
  const int layer_count = static_cast<int>(parser.Whole("LayersCount", 1, 1000));
  std::vector<std::size_t> sizes;
  for (int l = 0; l < layer_count; ++l)
    sizes.push_back(static_cast<std::size_t>(parser.Whole("Layer_" + Index(static_cast<std::size_t>(l)), 1, kMaxCount)));

  // Layers grow line by line, so a file that claims huge sizes but ends early
  // fails on its missing lines before it can exhaust memory.
  std::vector<TNeuronLayer> layers(sizes.size() - 1);
  for (std::size_t l = 1; l < sizes.size(); ++l) {
    for (std::size_t n = 0; n < sizes[l]; ++n) {
      TNeuron neuron;
      neuron.TrainCalc = train_calc;
      neuron.IntervalCount = intervals;
      neuron.MinSignal = min_signal;
      neuron.MaxSignal = max_signal;
      for (std::size_t s = 0; s < sizes[l - 1]; ++s) {
        TSynapse synapse;
        synapse.AutoInterval = intervals == 0;
        synapse.Weight = parser.Real(SynapseKey("NW", l, n, s));
        const std::int64_t count = parser.Whole(SynapseKey("IS", l, n, s), 0, kMaxCount);
        for (std::int64_t m = 0; m < count; ++m)
          synapse.Mediators.push_back(parser.Mediator(SynapseKey("SS", l, n, s) + "_" + Index(static_cast<std::size_t>(m))));
        neuron.Synapses.push_back(std::move(synapse));
      }
      layers[l - 1].Neurons.push_back(std::move(neuron));
    }
  }
  parser.ExpectEnd();

  net.MinSignal = min_signal;
  net.MaxSignal = max_signal;
  net.IntervalCount = intervals;
  net.TrainCalc = train_calc;
  net.EpochCount = epochs;
  net.LayerCount = layer_count;
  net.InputNeuronCount = static_cast<int>(sizes.front());
  if (sizes.size() > 1) net.OutputNeuronCount = static_cast<int>(sizes.back());
  net.Layers = std::move(layers);
  net.EpochCurrent = 0;
}

void ReadModelFile(const std::string& path, TKNet& net) {
  ParseModelFile(ReadWholeFile(path), path, net);
  net.IniFileName = path;
}

}  // namespace qnet
