// The shared-bounds path must write exactly the model file the general path
// writes, on every table and setting it takes on.
#include <gtest/gtest.h>

#include "layer_stepper.hpp"
#include "model_file.hpp"
#include "test_support.hpp"

namespace qnet {
namespace {

struct Case {
  const char* name;
  int inputs, outputs, epochs, patterns;
  double grid;
  void (*tune)(TKNet&);
};

const Case kCases[] = {
    {"template settings", 6, 4, 6, 60, 0.25, [](TKNet&) {}},
    {"fine grid", 10, 3, 4, 80, 0.0137, [](TKNet&) {}},
    {"single output", 5, 1, 5, 40, 0.5, [](TKNet&) {}},
    {"one input", 1, 6, 5, 30, 0.1, [](TKNet&) {}},
    {"density splits", 4, 3, 6, 90, 0.25, [](TKNet& n) { n.Density = 3; }},
    {"fixed intervals", 4, 2, 4, 40, 0.3, [](TKNet& n) { n.IntervalCount = 7; }},
    {"multiplicative", 3, 3, 4, 30, 0.25, [](TKNet& n) { n.TrainCalc = true; }},
    {"absolute error, share", 5, 3, 5, 33, 0.25, [](TKNet& n) { n.ErrorType = 0; n.SetTrainPatterns(0.5); }},
    {"no packing", 4, 2, 3, 25, 0.25, [](TKNet& n) { n.AutoIntervals = false; }},
    {"relative error", 4, 5, 4, 50, 0.2, [](TKNet& n) { n.ErrorType = 2; }},
};

std::string TrainedFile(const Case& c, TrainingPath path) {
  TKNet net = test::TemplateNet(c.inputs, c.outputs, c.epochs);
  c.tune(net);
  net.Path = path;
  net.ReplacePatterns(test::RandomPatterns(static_cast<std::size_t>(c.inputs), static_cast<std::size_t>(c.outputs),
                                           static_cast<std::size_t>(c.patterns), 42, c.grid));
  net.TrainAllLayers();
  return FormatModelFile(net);
}

TEST(SharedBounds, WritesTheSameModelFileAsTheGeneralPath) {
  for (const Case& c : kCases) EXPECT_EQ(TrainedFile(c, TrainingPath::Automatic), TrainedFile(c, TrainingPath::General)) << c.name;
}

TEST(SharedBounds, TrainingTwiceGivesTheSameFile) {
  for (const Case& c : kCases) EXPECT_EQ(TrainedFile(c, TrainingPath::Automatic), TrainedFile(c, TrainingPath::Automatic)) << c.name;
}

TEST(SharedBounds, IsTakenOnlyWhenAllNeuronsShareTheirIntervals) {
  TKNet net = test::TemplateNet(2, 3, 1);
  for (TNeuron& neuron : net.Layers[0].Neurons)
    for (TSynapse& synapse : neuron.Synapses) synapse.Mediators = {{1, 5, 1, 2}, {2, 6, 1, 0}};
  EXPECT_NE(MakeSharedBoundsStepper(net.Layers[0], 4), nullptr);
  net.Layers[0].Neurons[2].Synapses[1].Mediators[0].Value = 99;  // values may differ
  EXPECT_NE(MakeSharedBoundsStepper(net.Layers[0], 4), nullptr);
  net.Layers[0].Neurons[2].Synapses[1].Mediators[1].Bound = 3;
  EXPECT_EQ(MakeSharedBoundsStepper(net.Layers[0], 4), nullptr);
  net.Layers[0].Neurons[2].Synapses[1].Mediators[1].Bound = 2;
  net.Layers[0].Neurons[0].Synapses[0].Mediators[0].HitCount = 1;
  EXPECT_EQ(MakeSharedBoundsStepper(net.Layers[0], 4), nullptr);
  for (TNeuron& neuron : net.Layers[0].Neurons) neuron.Synapses[0].Mediators = {{2, 5, 1, 0}, {1, 6, 1, 0}};
  EXPECT_EQ(MakeSharedBoundsStepper(net.Layers[0], 4), nullptr);  // descending bounds need the scan
}

// A loaded model whose neurons hold different intervals, trained further.
TEST(SharedBounds, FallsBackForNeuronsWithTheirOwnIntervals) {
  auto continued = [](TrainingPath path) {
    TKNet net = test::TemplateNet(3, 2, 2);
    net.ReplacePatterns(test::RandomPatterns(3, 2, 20, 9));
    net.TrainAllLayers();
    net.Layers[0].Neurons[1].Synapses[0].Mediators.front().Bound -= 0.125;
    net.Layers[0].Neurons[0].Synapses[2].Mediators.pop_back();
    net.ContinueTeach = true;
    net.EpochCount = 5;
    net.Path = path;
    net.TrainAllLayers();
    EXPECT_EQ(net.EpochCurrent, 5);
    return FormatModelFile(net);
  };
  EXPECT_EQ(continued(TrainingPath::Automatic), continued(TrainingPath::General));
}

}  // namespace
}  // namespace qnet
