// With the settings the templates train with, every neuron of a layer sees
// the same inputs, so synapse s of every neuron grows, hits and packs the
// same intervals; only the interval values differ. This stepper keeps one
// interval table per input, finds the interval of each input once per
// pattern, and keeps the values of all neurons for one interval next to
// each other. It gives bit-identical results to the general stepper: every
// sum and every update runs in the same order.
#include <algorithm>
#include <cmath>

#include "layer_stepper.hpp"
#include "synapse.hpp"

namespace qnet {

namespace {

// An interval's upper bound with its hit count, side by side: the search
// and the count touch both.
struct Limit {
  double bound;
  std::int64_t hits;
};

struct SharedIntervals {
  bool grows = false;
  std::vector<Limit> limits;
  std::vector<double> multipliers;
  std::vector<double> values;  // interval m, neuron k at m * neurons + k
};

template <class T>
std::ptrdiff_t At(const std::vector<T>&, std::size_t i) {
  return static_cast<std::ptrdiff_t>(i);
}

class SharedIntervalList {
 public:
  SharedIntervalList(SharedIntervals& intervals, std::size_t neurons) : in_(intervals), neurons_(neurons) {}
  std::size_t Size() const { return in_.limits.size(); }
  std::int64_t Hits(std::size_t i) const { return in_.limits[i].hits; }
  double Bound(std::size_t i) const { return in_.limits[i].bound; }
  void Erase(std::size_t i) {
    in_.limits.erase(in_.limits.begin() + At(in_.limits, i));
    in_.multipliers.erase(in_.multipliers.begin() + At(in_.multipliers, i));
    auto first = in_.values.begin() + At(in_.values, i * neurons_);
    in_.values.erase(first, first + At(in_.values, neurons_));
  }
  void Split(std::size_t i, double new_bound) {
    in_.limits[i].hits /= 2;
    in_.limits.insert(in_.limits.begin() + At(in_.limits, i + 1), in_.limits[i]);
    in_.multipliers.insert(in_.multipliers.begin() + At(in_.multipliers, i + 1), in_.multipliers[i]);
    const std::vector<double> copy(in_.values.begin() + At(in_.values, i * neurons_),
                                   in_.values.begin() + At(in_.values, (i + 1) * neurons_));
    in_.values.insert(in_.values.begin() + At(in_.values, (i + 1) * neurons_), copy.begin(), copy.end());
    in_.limits[i].bound = new_bound;
    in_.multipliers[i] = 1.0;
  }
  void ClearHits() {
    for (Limit& limit : in_.limits) limit.hits = 0;
  }

 private:
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

// A plain loop over locals: the compiler may keep the count in a register
// and vectorise, as no store can change it.
void AddRow(double* __restrict target, const double* __restrict source, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) target[k] += source[k];
}

// The first position whose bound is not below x (std::lower_bound), searched
// without branches: the few bounds of a synapse make a branchy search
// mispredict on every step.
std::size_t FirstNotBelow(const std::vector<Limit>& limits, double x) {
  std::size_t count = limits.size();
  if (count == 0) return 0;
  const Limit* base = limits.data();
  while (count > 1) {
    const std::size_t half = count / 2;
    base = base[half].bound < x ? base + half : base;
    count -= half;
  }
  return static_cast<std::size_t>(base - limits.data()) + (base->bound < x ? 1 : 0);
}

// The same, trying first where this pattern's input fell last time:
// position c is the answer exactly when bound c - 1 < x <= bound c.
std::size_t FirstNotBelow(const std::vector<Limit>& limits, double x, std::uint32_t& cell) {
  const std::size_t c = cell;
  if (c < limits.size() && x <= limits[c].bound && (c == 0 || limits[c - 1].bound < x)) return c;
  const std::size_t found = FirstNotBelow(limits, x);
  cell = static_cast<std::uint32_t>(found);
  return found;
}

class SharedBoundsStepper final : public LayerStepper {
 public:
  SharedBoundsStepper(TNeuronLayer& layer, std::size_t patterns) : layer_(layer) {
    neurons_ = layer.Neurons.size();
    synapses_ = layer.Neurons.front().Synapses.size();
    intervals_.resize(synapses_);
    weights_.resize(synapses_ * neurons_);
    active_.assign(synapses_, -1);
    active_row_.assign(synapses_, nullptr);
    cell_.assign(patterns * synapses_, kUnknownCell);
    train_calc_.resize(neurons_);
    delta_.resize(neurons_);
    for (std::size_t k = 0; k < neurons_; ++k) train_calc_[k] = layer.Neurons[k].TrainCalc;
    any_train_calc_ = std::find(train_calc_.begin(), train_calc_.end(), 1) != train_calc_.end();
    unit_weights_.assign(synapses_, 1);
    plain_.assign(synapses_, 0);
    for (std::size_t s = 0; s < synapses_; ++s) {
      const TSynapse& first = layer.Neurons.front().Synapses[s];
      SharedIntervals& in = intervals_[s];
      in.grows = first.AutoInterval;
      const std::size_t count = first.Mediators.size();
      in.values.resize(count * neurons_);
      for (const TMediator& mediator : first.Mediators) {
        in.limits.push_back(Limit{mediator.Bound, mediator.HitCount});
        in.multipliers.push_back(mediator.Multiplier);
      }
      for (std::size_t k = 0; k < neurons_; ++k) {
        const TSynapse& synapse = layer.Neurons[k].Synapses[s];
        weights_[s * neurons_ + k] = synapse.Weight;
        if (synapse.Weight != 1.0) unit_weights_[s] = 0;
        for (std::size_t m = 0; m < count; ++m) in.values[m * neurons_ + k] = synapse.Mediators[m].Value;
      }
      // Training only ever adds intervals with multiplier 1, and a split
      // leaves 1 or the old multiplier: an input that starts with all
      // multipliers 1 keeps them.
      plain_[s] = unit_weights_[s] &&
                  std::all_of(in.multipliers.begin(), in.multipliers.end(), [](double m) { return m == 1.0; });
    }
  }

  void Compute(std::size_t row, const double* inputs, double* outputs) override {
    std::fill(outputs, outputs + neurons_, 0.0);
    std::uint32_t* cells = &cell_[row * synapses_];
    for (std::size_t s = 0; s < synapses_; ++s) {
      SharedIntervals& in = intervals_[s];
      const std::ptrdiff_t m = Locate(in, inputs[s], cells[s]);
      active_[s] = m;
      const double* w = &weights_[s * neurons_];
      if (m < 0) {
        for (std::size_t k = 0; k < neurons_; ++k) outputs[k] += w[k] * 0.0;
        continue;
      }
      double* v = &in.values[static_cast<std::size_t>(m) * neurons_];
      active_row_[s] = v;  // Fit goes straight to the row: nothing moves in between
      const double multiplier = plain_[s] ? 1.0 : in.multipliers[static_cast<std::size_t>(m)];
      if (unit_weights_[s] && multiplier == 1.0) {
        AddRow(outputs, v, neurons_);  // 1.0 * (1.0 * v) is v, exactly
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
      double* v = active_row_[s];
      if (!any_train_calc_ && plain_[s]) {
        AddRow(v, delta_.data(), neurons_);  // delta / 1.0 / 1.0 is delta, exactly
        continue;
      }
      const double multiplier = intervals_[s].multipliers[static_cast<std::size_t>(active_[s])];
      if (!any_train_calc_ && unit_weights_[s] && multiplier == 1.0) {
        AddRow(v, delta_.data(), neurons_);  // delta / 1.0 / 1.0 is delta, exactly
        continue;
      }
      const double* w = &weights_[s * neurons_];
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
        synapse.Mediators.resize(in.limits.size());
        for (std::size_t m = 0; m < in.limits.size(); ++m)
          synapse.Mediators[m] =
              TMediator{in.limits[m].bound, in.values[m * neurons_ + k], in.multipliers[m], in.limits[m].hits};
      }
    }
  }

 private:
  // The interval of x, counted as hit; grows the table like SynapseSignal.
  std::ptrdiff_t Locate(SharedIntervals& in, double x, std::uint32_t& cell) {
    const std::size_t i = std::isnan(x) ? in.limits.size() : FirstNotBelow(in.limits, x, cell);
    if (i == in.limits.size()) {
      if (!in.grows) return -1;
      in.limits.push_back(Limit{x, 1});
      in.multipliers.push_back(1.0);
      in.values.insert(in.values.end(), neurons_, 1.0);
      return static_cast<std::ptrdiff_t>(i);
    }
    if (in.grows && i == 0 && in.limits[0].bound > x) {
      in.limits.insert(in.limits.begin(), Limit{x, 0});
      in.multipliers.insert(in.multipliers.begin(), 1.0);
      in.values.insert(in.values.begin(), neurons_, 1.0);
    }
    in.limits[i].hits += 1;
    return static_cast<std::ptrdiff_t>(i);
  }

  static constexpr std::uint32_t kUnknownCell = 0xFFFFFFFFu;

  TNeuronLayer& layer_;
  std::size_t neurons_ = 0;
  std::size_t synapses_ = 0;
  std::vector<SharedIntervals> intervals_;
  std::vector<double> weights_;  // synapse s, neuron k at s * neurons + k
  std::vector<std::ptrdiff_t> active_;
  std::vector<double*> active_row_;  // values of the active interval, from Compute to Fit
  std::vector<std::uint32_t> cell_;  // pattern p, input s at p * synapses + s: its interval last time
  std::vector<unsigned char> train_calc_;
  bool any_train_calc_ = false;
  std::vector<unsigned char> unit_weights_;  // every neuron's weight of synapse s is 1
  std::vector<unsigned char> plain_;         // ... and every multiplier of input s is 1
  std::vector<double> delta_;
};

}  // namespace

std::unique_ptr<LayerStepper> MakeSharedBoundsStepper(TNeuronLayer& layer, std::size_t patterns) {
  if (layer.Neurons.empty()) return nullptr;
  const TNeuron& first = layer.Neurons.front();
  for (const TSynapse& synapse : first.Synapses)
    if (!AscendingBounds(synapse)) return nullptr;
  for (const TNeuron& neuron : layer.Neurons) {
    if (neuron.Synapses.size() != first.Synapses.size()) return nullptr;
    for (std::size_t s = 0; s < first.Synapses.size(); ++s)
      if (!SameIntervals(neuron.Synapses[s], first.Synapses[s])) return nullptr;
  }
  return std::make_unique<SharedBoundsStepper>(layer, patterns);
}

}  // namespace qnet
