#include "layer_stepper.hpp"
#include "synapse.hpp"

namespace qnet {

namespace {

class GeneralStepper final : public LayerStepper {
 public:
  explicit GeneralStepper(TNeuronLayer& layer) : layer_(layer) {}

  void Compute(std::size_t, const double* inputs, double* outputs) override {
    for (std::size_t n = 0; n < layer_.Neurons.size(); ++n) {
      TNeuron& neuron = layer_.Neurons[n];
      double sum = 0.0;
      for (std::size_t s = 0; s < neuron.Synapses.size(); ++s)
        sum += neuron.Synapses[s].Weight * SynapseSignal(neuron.Synapses[s], inputs[s]);
      neuron.Output = sum;
      outputs[n] = sum;
    }
  }

  void Fit(const double* desired, const double*) override {
    for (std::size_t n = 0; n < layer_.Neurons.size(); ++n) FitNeuron(layer_.Neurons[n], desired[n]);
  }

  void Pack(int density) override {
    for (TNeuron& neuron : layer_.Neurons)
      for (TSynapse& synapse : neuron.Synapses) {
        MediatorList list(synapse.Mediators);
        PackIntervals(list, density);
      }
  }

  void Store() override {}

 private:
  TNeuronLayer& layer_;
};

}  // namespace

std::unique_ptr<LayerStepper> MakeGeneralStepper(TNeuronLayer& layer) { return std::make_unique<GeneralStepper>(layer); }

}  // namespace qnet
