#include "synapse.hpp"

namespace qnet {

double SynapseSignal(TSynapse& synapse, double x) {
  synapse.Active = -1;
  std::vector<TMediator>& mediators = synapse.Mediators;
  double lower = -DBL_MAX;
  for (std::size_t i = 0; i < mediators.size(); ++i) {
    if (mediators[i].Bound >= x && x > lower) {
      if (synapse.AutoInterval && i == 0 && mediators[i].Bound > x)
        mediators.insert(mediators.begin(), TMediator{x, 1.0, 1.0, 0});
      mediators[i].HitCount += 1;
      synapse.Active = static_cast<std::ptrdiff_t>(i);
      return mediators[i].Multiplier * mediators[i].Value;
    }
    lower = mediators[i].Bound;
  }
  if (!synapse.AutoInterval) return 0.0;
  mediators.push_back(TMediator{x, 1.0, 1.0, 1});
  synapse.Active = static_cast<std::ptrdiff_t>(mediators.size()) - 1;
  return 1.0;
}

void FitNeuron(TNeuron& neuron, double desired) {
  const std::size_t count = neuron.Synapses.size();
  if (count == 0) return;
  if (!neuron.TrainCalc) {
    const double delta = (desired - neuron.Output) / static_cast<double>(count);
    for (TSynapse& synapse : neuron.Synapses) {
      if (synapse.Weight == 0.0 || synapse.Active < 0) continue;
      TMediator& mediator = synapse.Mediators[static_cast<std::size_t>(synapse.Active)];
      mediator.Value += delta / synapse.Weight / mediator.Multiplier;
    }
    return;
  }
  const double factor = neuron.Output == 0.0 ? 1.0 : desired / neuron.Output;
  for (TSynapse& synapse : neuron.Synapses) {
    if (synapse.Weight == 0.0 || synapse.Active < 0) continue;
    TMediator& mediator = synapse.Mediators[static_cast<std::size_t>(synapse.Active)];
    mediator.Value *= factor / synapse.Weight / mediator.Multiplier;
  }
}

}  // namespace qnet
