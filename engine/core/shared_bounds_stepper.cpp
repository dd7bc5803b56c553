// With the settings the templates train with, every neuron of a layer sees
// the same inputs, so synapse s of every neuron grows, hits and packs the
// same intervals; only the interval values differ. This stepper keeps one
// interval table per input, finds the interval of each input once per
// pattern by binary search, and keeps the values of all neurons for one
// interval next to each other. It gives bit-identical results to the
// general stepper: every sum and every update runs in the same order.
#include <algorithm>
#include <cmath>

#include "layer_stepper.hpp"
#include "synapse.hpp"

namespace qnet {

namespace {

struct SharedIntervals {
  bool grows = false;
  std::vector<double> bounds;
  std::vector<double> multipliers;
  std::vector<std::int64_t> hits;
  std::vector<double> values;  // interval m, neuron k at m * neurons + k
};

class SharedIntervalList {
 public:
  SharedIntervalList(SharedIntervals& intervals, std::size_t neurons) : in_(intervals), neurons_(neurons) {}
  std::size_t Size() const { return in_.bounds.size(); }
  std::int64_t Hits(std::size_t i) const { return in_.hits[i]; }
  double Bound(std::size_t i) const { return in_.bounds[i]; }
  void Erase(std::size_t i) {
    in_.bounds.erase(in_.bounds.begin() + Offset(i));
    in_.multipliers.erase(in_.multipliers.begin() + Offset(i));
    in_.hits.erase(in_.hits.begin() + Offset(i));
    auto first = in_.values.begin() + Offset(i * neurons_);
    in_.values.erase(first, first + Offset(neurons_));
  }
  void Split(std::size_t i, double new_bound) {
    in_.hits[i] /= 2;
    in_.bounds.insert(in_.bounds.begin() + Offset(i + 1), in_.bounds[i]);
    in_.multipliers.insert(in_.multipliers.begin() + Offset(i + 1), in_.multipliers[i]);
    in_.hits.insert(in_.hits.begin() + Offset(i + 1), in_.hits[i]);
    std::vector<double> copy(in_.values.begin() + Offset(i * neurons_), in_.values.begin() + Offset((i + 1) * neurons_));
    in_.values.insert(in_.values.begin() + Offset((i + 1) * neurons_), copy.begin(), copy.end());
    in_.bounds[i] = new_bound;
    in_.multipliers[i] = 1.0;
  }
  void ClearHits() { std::fill(in_.hits.begin(), in_.hits.end(), 0); }

 private:
  static std::ptrdiff_t Offset(std::size_t i) { return static_cast<std::ptrdiff_t>(i); }
  SharedIntervals& in_;
  std::size_t neurons_;
};

bool SameIntervals(const TSynapse& a, const TSynapse& b) {
  return a.AutoInterval == b.AutoInterval && a.Mediators.size() == b.Mediators.size() &&
         std::equal(a.Mediators.begin(), a.Mediators.end(), b.Mediators.begin(), [](const TMediator& x, const TMediator& y) {
           return x.Bound == y.Bound && x.Multiplier == y.Multiplier && x.HitCount == y.HitCount;
         });
}

bool AscendingBounds(const TSynapse& synapse) {
  const auto& m = synapse.Mediators;
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (std::isnan(m[i].Bound)) return false;
    if (i > 0 && m[i].Bound < m[i - 1].Bound) return false;
  }
  return true;
}

class SharedBoundsStepper final : public LayerStepper {
 public:
  explicit SharedBoundsStepper(TNeuronLayer& layer) : layer_(layer) {
    neurons_ = layer.Neurons.size();
    synapses_ = layer.Neurons.front().Synapses.size();
    intervals_.resize(synapses_);
    weights_.resize(synapses_ * neurons_);
    active_.assign(synapses_, -1);
    train_calc_.resize(neurons_);
    delta_.resize(neurons_);
    for (std::size_t k = 0; k < neurons_; ++k) train_calc_[k] = layer.Neurons[k].TrainCalc;
    any_train_calc_ = std::find(train_calc_.begin(), train_calc_.end(), true) != train_calc_.end();
    unit_weights_.assign(synapses_, true);
    for (std::size_t s = 0; s < synapses_; ++s) {
      const TSynapse& first = layer.Neurons.front().Synapses[s];
      SharedIntervals& in = intervals_[s];
      in.grows = first.AutoInterval;
      const std::size_t count = first.Mediators.size();
      in.values.resize(count * neurons_);
      for (const TMediator& mediator : first.Mediators) {
        in.bounds.push_back(mediator.Bound);
        in.multipliers.push_back(mediator.Multiplier);
        in.hits.push_back(mediator.HitCount);
      }
      for (std::size_t k = 0; k < neurons_; ++k) {
        const TSynapse& synapse = layer.Neurons[k].Synapses[s];
        weights_[s * neurons_ + k] = synapse.Weight;
        if (synapse.Weight != 1.0) unit_weights_[s] = false;
        for (std::size_t m = 0; m < count; ++m) in.values[m * neurons_ + k] = synapse.Mediators[m].Value;
      }
    }
  }

  void Compute(const double* inputs, double* outputs) override {
    std::fill(outputs, outputs + neurons_, 0.0);
    for (std::size_t s = 0; s < synapses_; ++s) {
      SharedIntervals& in = intervals_[s];
      const std::ptrdiff_t m = Locate(in, inputs[s]);
      active_[s] = m;
      const double* w = &weights_[s * neurons_];
      if (m < 0) {
        for (std::size_t k = 0; k < neurons_; ++k) outputs[k] += w[k] * 0.0;
        continue;
      }
      const double multiplier = in.multipliers[static_cast<std::size_t>(m)];
      const double* v = &in.values[static_cast<std::size_t>(m) * neurons_];
      if (unit_weights_[s] && multiplier == 1.0) {
        AddTo(outputs, v);  // 1.0 * (1.0 * v) is v, exactly
      } else {
        for (std::size_t k = 0; k < neurons_; ++k) outputs[k] += w[k] * (multiplier * v[k]);
      }
    }
  }

  void Fit(const double* desired, const double* outputs) override {
    if (synapses_ == 0) return;
    for (std::size_t k = 0; k < neurons_; ++k)
      delta_[k] = train_calc_[k] ? (outputs[k] == 0.0 ? 1.0 : desired[k] / outputs[k])
                                 : (desired[k] - outputs[k]) / static_cast<double>(synapses_);
    for (std::size_t s = 0; s < synapses_; ++s) {
      if (active_[s] < 0) continue;
      SharedIntervals& in = intervals_[s];
      const std::size_t m = static_cast<std::size_t>(active_[s]);
      const double multiplier = in.multipliers[m];
      double* v = &in.values[m * neurons_];
      const double* w = &weights_[s * neurons_];
      if (!any_train_calc_ && unit_weights_[s] && multiplier == 1.0) {
        AddTo(v, delta_.data());  // delta / 1.0 / 1.0 is delta, exactly
        continue;
      }
      for (std::size_t k = 0; k < neurons_; ++k) {
        if (w[k] == 0.0) continue;
        if (train_calc_[k])
          v[k] *= delta_[k] / w[k] / multiplier;
        else
          v[k] += delta_[k] / w[k] / multiplier;
      }
    }
  }

  void Pack(int density) override {
    for (SharedIntervals& in : intervals_) {
      SharedIntervalList list(in, neurons_);
      PackIntervals(list, density);
    }
  }

  void Store() override {
    for (std::size_t k = 0; k < neurons_; ++k) {
      TNeuron& neuron = layer_.Neurons[k];
      for (std::size_t s = 0; s < synapses_; ++s) {
        const SharedIntervals& in = intervals_[s];
        TSynapse& synapse = neuron.Synapses[s];
        synapse.Active = active_[s];
        synapse.Mediators.resize(in.bounds.size());
        for (std::size_t m = 0; m < in.bounds.size(); ++m)
          synapse.Mediators[m] = TMediator{in.bounds[m], in.values[m * neurons_ + k], in.multipliers[m], in.hits[m]};
      }
    }
  }

 private:
  void AddTo(double* __restrict target, const double* __restrict source) const {
    for (std::size_t k = 0; k < neurons_; ++k) target[k] += source[k];
  }

  // The first position whose bound is not below x (std::lower_bound),
  // searched without branches: the few bounds of a synapse make a branchy
  // search mispredict on every step.
  static std::size_t FirstNotBelow(const std::vector<double>& bounds, double x) {
    std::size_t count = bounds.size();
    if (count == 0) return 0;
    const double* base = bounds.data();
    while (count > 1) {
      const std::size_t half = count / 2;
      base = base[half] < x ? base + half : base;
      count -= half;
    }
    return static_cast<std::size_t>(base - bounds.data()) + (*base < x ? 1 : 0);
  }

  // The interval of x, counted as hit; grows the table like SynapseSignal.
  std::ptrdiff_t Locate(SharedIntervals& in, double x) {
    std::size_t i = std::isnan(x) ? in.bounds.size() : FirstNotBelow(in.bounds, x);
    if (i == in.bounds.size()) {
      if (!in.grows) return -1;
      in.bounds.push_back(x);
      in.multipliers.push_back(1.0);
      in.hits.push_back(1);
      in.values.insert(in.values.end(), neurons_, 1.0);
      return static_cast<std::ptrdiff_t>(i);
    }
    if (in.grows && i == 0 && in.bounds[0] > x) {
      in.bounds.insert(in.bounds.begin(), x);
      in.multipliers.insert(in.multipliers.begin(), 1.0);
      in.hits.insert(in.hits.begin(), 0);
      in.values.insert(in.values.begin(), neurons_, 1.0);
    }
    in.hits[i] += 1;
    return static_cast<std::ptrdiff_t>(i);
  }

  TNeuronLayer& layer_;
  std::size_t neurons_ = 0;
  std::size_t synapses_ = 0;
  std::vector<SharedIntervals> intervals_;
  std::vector<double> weights_;  // synapse s, neuron k at s * neurons + k
  std::vector<std::ptrdiff_t> active_;
  std::vector<bool> train_calc_;
  bool any_train_calc_ = false;
  std::vector<bool> unit_weights_;  // every neuron's weight of synapse s is 1
  std::vector<double> delta_;
};

}  // namespace

std::unique_ptr<LayerStepper> MakeSharedBoundsStepper(TNeuronLayer& layer) {
  if (layer.Neurons.empty()) return nullptr;
  const TNeuron& first = layer.Neurons.front();
  for (const TSynapse& synapse : first.Synapses)
    if (!AscendingBounds(synapse)) return nullptr;
  for (const TNeuron& neuron : layer.Neurons) {
    if (neuron.Synapses.size() != first.Synapses.size()) return nullptr;
    for (std::size_t s = 0; s < first.Synapses.size(); ++s)
      if (!SameIntervals(neuron.Synapses[s], first.Synapses[s])) return nullptr;
  }
  return std::make_unique<SharedBoundsStepper>(layer);
}

}  // namespace qnet
