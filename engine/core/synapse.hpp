#pragma once
#include <cfloat>
#include <cstddef>

#include "model.hpp"

namespace qnet {

// What a synapse gives for input x without changing it: the value of the
// first mediator whose interval holds x, or 0 when none does (also for NaN).
inline double SynapseValue(const TSynapse& synapse, double x) {
  double lower = -DBL_MAX;
  for (const TMediator& mediator : synapse.Mediators) {
    if (mediator.Bound >= x && x > lower) return mediator.Multiplier * mediator.Value;
    lower = mediator.Bound;
  }
  return 0.0;
}

// The training form: scans every mediator, counts the hit, marks the active
// mediator and, for a synapse that grows from the data, opens a new interval
// below the first or above the last bound.
double SynapseSignal(TSynapse& synapse, double x);

// Moves the active mediator of every synapse so that the neuron's output
// approaches the desired value.
void FitNeuron(TNeuron& neuron, double desired);

// Drops the intervals that caught nothing in the epoch and, with a positive
// density, splits crowded ones; then clears every hit count. The list type
// offers Size, Hits, Bound, Erase, Split and ClearHits, so that both the
// per-neuron mediators and the shared interval table pack with one rule.
template <class IntervalList>
void PackIntervals(IntervalList& list, int density) {
  std::size_t i = 0;
  while (i < list.Size()) {
    if (list.Hits(i) <= 0) {
      list.Erase(i);
      ++i;  // the interval that moved into place waits for the next pass
      continue;
    }
    if (density > 0 && static_cast<double>(list.Hits(i)) / density >= 2.0) {
      const double bound = list.Bound(i);
      double previous = i == 0 ? 0.0 : list.Bound(i - 1);
      // Halving towards 0.0 would lift a negative first bound above the copy
      // and break the ascending order; such an interval splits in place.
      if (i == 0 && previous > bound) previous = bound;
      list.Split(i, (previous + bound) / 2.0);
      ++i;  // go on with the copy
      continue;
    }
    ++i;
  }
  list.ClearHits();
}

// PackIntervals over the mediators of one synapse.
class MediatorList {
 public:
  explicit MediatorList(std::vector<TMediator>& mediators) : mediators_(mediators) {}
  std::size_t Size() const { return mediators_.size(); }
  std::int64_t Hits(std::size_t i) const { return mediators_[i].HitCount; }
  double Bound(std::size_t i) const { return mediators_[i].Bound; }
  void Erase(std::size_t i) { mediators_.erase(mediators_.begin() + static_cast<std::ptrdiff_t>(i)); }
  void Split(std::size_t i, double new_bound) {
    mediators_[i].HitCount /= 2;
    const TMediator copy = mediators_[i];
    mediators_.insert(mediators_.begin() + static_cast<std::ptrdiff_t>(i) + 1, copy);
    mediators_[i].Bound = new_bound;
    mediators_[i].Multiplier = 1.0;
  }
  void ClearHits() {
    for (TMediator& mediator : mediators_) mediator.HitCount = 0;
  }

 private:
  std::vector<TMediator>& mediators_;
};

}  // namespace qnet
