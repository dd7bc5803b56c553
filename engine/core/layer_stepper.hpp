#pragma once
#include <memory>

#include "model.hpp"

namespace qnet {

// One computing layer as the epoch loop drives it: compute a pattern
// (counting hits and growing intervals), fit it, pack between epochs, and
// write its state back into the layer's neurons.
class LayerStepper {
 public:
  virtual ~LayerStepper() = default;
  // `row` names the pattern, so that a stepper may remember where its inputs fell.
  virtual void Compute(std::size_t row, const double* inputs, double* outputs) = 0;
  virtual void Fit(const double* desired, const double* outputs) = 0;
  virtual void Pack(int density) = 0;
  virtual void Store() = 0;
};

// Walks every mediator of every synapse of every neuron; works for any layer.
std::unique_ptr<LayerStepper> MakeGeneralStepper(TNeuronLayer& layer);

// Searches each input's interval once and reuses it for all neurons. Returns
// null when the neurons of the layer do not share their intervals.
std::unique_ptr<LayerStepper> MakeSharedBoundsStepper(TNeuronLayer& layer, std::size_t patterns);

}  // namespace qnet
