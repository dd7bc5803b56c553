#include <gtest/gtest.h>

#include <cmath>

#include "error.hpp"
#include "synapse.hpp"
#include "test_support.hpp"

namespace qnet {
namespace {

// One input, one output; patterns x -> d worked through by hand below.
TKNet HandNet(int epochs, TrainingPath path) {
  TKNet net = test::TemplateNet(1, 1, epochs);
  net.Path = path;
  for (const auto& [x, d] : std::vector<std::pair<double, double>>{{2, 10}, {1, 20}, {3, 30}, {2, 12}})
    net.AddPattern({x}, {d});
  return net;
}

std::vector<TMediator> Mediators(const TKNet& net, std::size_t neuron = 0, std::size_t synapse = 0) {
  return net.Layers[0].Neurons[neuron].Synapses[synapse].Mediators;
}

class BothPaths : public ::testing::TestWithParam<TrainingPath> {};
INSTANTIATE_TEST_SUITE_P(Training, BothPaths, ::testing::Values(TrainingPath::General, TrainingPath::Automatic),
                         [](const auto& param_info) { return param_info.param == TrainingPath::General ? "General" : "Automatic"; });

// x=2 opens the first interval (value 1, fitted to 10); x=1 lies below it
// and opens one in front (fitted to 20); x=3 lies above and opens one at
// the end (fitted to 30); x=2 falls into the existing interval, whose 10
// is fitted to 12. Errors 81, 361, 841, 4.
TEST_P(BothPaths, FirstEpochGrowsIntervalsAtTheEdgesAndFitsTheCaughtOne) {
  TKNet net = HandNet(1, GetParam());
  net.TrainAllLayers();
  EXPECT_EQ(Mediators(net), (std::vector<TMediator>{{1, 20, 1, 1}, {2, 12, 1, 2}, {3, 30, 1, 1}}));
  EXPECT_DOUBLE_EQ(net.TrainError, (81.0 + 361 + 841 + 4) / 4);
  EXPECT_DOUBLE_EQ(net.MaxTrainError, 841.0);
  EXPECT_EQ(net.RecognizedTeachCount, 0);
  EXPECT_EQ(net.MinSignal, 1.0);
  EXPECT_EQ(net.MaxSignal, 3.0);
}

// After packing (nothing to drop) the second epoch starts from 10/20/30/12:
// x=2 gives 12 against 10 (error 4, fitted to 10), x=1 and x=3 are exact
// (recognised), x=2 gives 10 against 12 (error 4, fitted to 12).
TEST_P(BothPaths, SecondEpochKeepsTheIntervalsAndCountsOnlyItsOwnHits) {
  TKNet net = HandNet(2, GetParam());
  net.TrainAllLayers();
  EXPECT_EQ(Mediators(net), (std::vector<TMediator>{{1, 20, 1, 1}, {2, 12, 1, 2}, {3, 30, 1, 1}}));
  EXPECT_DOUBLE_EQ(net.TrainError, 2.0);
  EXPECT_EQ(net.RecognizedTeachCount, 2);
  EXPECT_EQ(net.EpochCurrent, 2);
}

TEST_P(BothPaths, StopsEarlyOnlyWhenTheErrorLevelIsPositiveAndReached) {
  const struct { double level; int epochs_run; bool stopped; } cases[] = {{5.0, 2, true}, {0.0, 10, false}, {1.0, 10, false}};
  for (const auto& c : cases) {
    TKNet net = HandNet(10, GetParam());
    net.TrainErrorLevel = c.level;
    net.TrainAllLayers();
    EXPECT_EQ(net.EpochCurrent, c.epochs_run) << c.level;
    EXPECT_EQ(net.TeachStopped, c.stopped) << c.level;
  }
}

TEST_P(BothPaths, EventsComeBeforeAfterEveryEpochAndAfter) {
  TKNet net = HandNet(3, GetParam());
  std::vector<std::string> calls;
  net.OnBeforeTeach = [&](TKNet& n) { calls.push_back("before " + std::to_string(n.EpochCurrent)); };
  net.OnEpochPassed = [&](TKNet& n) {
    // The handler sees the model as the epoch left it.
    calls.push_back("epoch " + std::to_string(n.EpochCurrent) + " hits " +
                    std::to_string(Mediators(n)[1].HitCount));
  };
  net.OnAfterTeach = [&](TKNet& n) { calls.push_back("after " + std::to_string(n.EpochCurrent)); };
  net.TrainAllLayers();
  EXPECT_EQ(calls, (std::vector<std::string>{"before 0", "epoch 1 hits 2", "epoch 2 hits 2", "epoch 3 hits 2", "after 3"}));
}

// n = TrainPatterns x PatternCount, halves rounded to the even neighbour;
// the first n patterns in table order are presented.
TEST_P(BothPaths, PresentsTheFirstRoundedShareOfThePatterns) {
  const struct { int patterns; double share; int presented; } cases[] = {
      {5, 0.5, 2}, {7, 0.5, 4}, {3, 0.5, 2}, {4, 0.3, 1}, {4, 1.0, 4}};
  for (const auto& c : cases) {
    TKNet net = test::TemplateNet(1, 1, 1);
    net.Path = GetParam();
    for (int i = 0; i < c.patterns; ++i) net.AddPattern({static_cast<double>(i)}, {static_cast<double>(i)});
    net.SetTrainPatterns(c.share);
    net.TrainAllLayers();
    const std::vector<TMediator> mediators = Mediators(net);
    ASSERT_EQ(mediators.size(), static_cast<std::size_t>(c.presented)) << c.patterns << " x " << c.share;
    for (int i = 0; i < c.presented; ++i) EXPECT_EQ(mediators[static_cast<std::size_t>(i)].Bound, i);
  }
}

TEST_P(BothPaths, MixedOrderPresentsEveryPatternOncePerEpoch) {
  TKNet net = test::TemplateNet(2, 2, 3);
  net.Path = GetParam();
  net.MixPatterns = true;
  net.ReplacePatterns(test::RandomPatterns(2, 2, 50, 3));
  net.TrainAllLayers();
  std::vector<std::size_t> order = net.PatternOrder;
  std::sort(order.begin(), order.end());
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
  std::int64_t hits = 0;
  for (const TMediator& mediator : Mediators(net)) hits += mediator.HitCount;
  EXPECT_EQ(hits, 50);
}

TEST_P(BothPaths, FixedIntervalsSpanTheSignalRangeAndDoNotGrow) {
  TKNet net = test::TemplateNet(1, 1, 1);
  net.Path = GetParam();
  net.IntervalCount = 3;
  net.AutoIntervals = false;
  for (double x : {0.0, 1.0, 3.0, 4.0}) net.AddPattern({x}, {5.0});
  net.TrainAllLayers();
  const std::vector<TMediator> mediators = Mediators(net);
  ASSERT_EQ(mediators.size(), 3u);
  EXPECT_EQ(mediators[0].Bound, 0.0);
  EXPECT_EQ(mediators[1].Bound, 2.0);
  EXPECT_EQ(mediators[2].Bound, 4.0);
  EXPECT_EQ(mediators[0].HitCount, 1);  // 0 sits on the first bound
  EXPECT_EQ(mediators[1].HitCount, 1);
  EXPECT_EQ(mediators[2].HitCount, 2);
  EXPECT_FALSE(net.Layers[0].Neurons[0].Synapses[0].AutoInterval);
}

TEST_P(BothPaths, MultiplicativeFittingScalesTheCaughtValue) {
  TKNet net = test::TemplateNet(1, 1, 1);
  net.Path = GetParam();
  net.TrainCalc = true;
  net.AddPattern({1.0}, {8.0});  // opens the interval with value 1: output 1, factor 8
  net.AddPattern({1.0}, {4.0});  // output 8, factor 0.5
  net.TrainAllLayers();
  EXPECT_EQ(Mediators(net)[0].Value, 4.0);
}

TEST(PatternError, FollowsTheErrorType) {
  const double outputs[] = {1, -2, 0}, desired[] = {0, 2, 0};
  const double expected[] = {5.0 / 3, 17.0 / 3, 5.0 / 3, 5.0, 17.0};
  TKNet net;
  net.OutputNeuronCount = 3;
  for (int type = 0; type <= 4; ++type) {
    net.ErrorType = type;
    EXPECT_DOUBLE_EQ(net.PatternError(outputs, desired, 3), expected[type]) << "type " << type;
  }
}

std::vector<double> Bounds(const std::vector<TMediator>& mediators) {
  std::vector<double> bounds;
  for (const TMediator& mediator : mediators) bounds.push_back(mediator.Bound);
  return bounds;
}

TEST(Packing, DropsUnhitIntervalsButSkipsTheOneThatMovesIntoPlace) {
  std::vector<TMediator> mediators{{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 5}, {4, 1, 1, 0}};
  MediatorList list(mediators);
  PackIntervals(list, 0);
  EXPECT_EQ(Bounds(mediators), (std::vector<double>{2, 3}));
  for (const TMediator& mediator : mediators) EXPECT_EQ(mediator.HitCount, 0);
}

TEST(Packing, ZeroDensityNeverSplitsASharedInterval) {
  std::vector<TMediator> mediators{{1, 7, 1, 1000}};
  MediatorList list(mediators);
  PackIntervals(list, 0);
  EXPECT_EQ(Bounds(mediators), std::vector<double>{1});
}

TEST(Packing, SplitsCrowdedIntervalsAtTheMidpointAndGoesOnWithTheCopy) {
  std::vector<TMediator> mediators{{8, 3, 2, 4}};
  MediatorList list(mediators);
  PackIntervals(list, 1);
  // 4 hits split into 2 + copy, the copy's 2 split again into 1 + copy.
  EXPECT_EQ(mediators, (std::vector<TMediator>{{4, 3, 1, 0}, {6, 3, 1, 0}, {8, 3, 2, 0}}));
}

TEST(Packing, ANegativeFirstBoundSplitsInPlaceAndKeepsTheOrder) {
  std::vector<TMediator> mediators{{-8, 1, 1, 4}, {2, 1, 1, 1}};
  MediatorList list(mediators);
  PackIntervals(list, 2);
  EXPECT_EQ(Bounds(mediators), (std::vector<double>{-8, -8, 2}));
}

TEST(Training, RefusesPatternsThatAreNotFiniteNamingRowAndColumn) {
  TKNet net = test::TemplateNet(3, 1, 1);
  net.AddPattern({1, 2, 3}, {0});
  try {
    net.AddPattern({1, NAN, 3}, {0});
    ADD_FAILURE();
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "pattern 2: input 2 is not a finite number");
  }
  EXPECT_THROW(net.AddPattern({1, 2, 3}, {INFINITY}), Error);
  EXPECT_THROW(net.AddPattern({1, 2}, {0}), Error);
  EXPECT_EQ(net.PatternCount(), 1);
}

TEST(Training, WithoutPatternsIsAnErrorNotANaNError) {
  TKNet net = test::TemplateNet(2, 1, 3);
  EXPECT_THROW(net.TrainAllLayers(), Error);
  net.AddPattern({1, 2}, {0});
  net.SetTrainPatterns(0.1);  // rounds to no pattern at all
  EXPECT_THROW(net.TrainAllLayers(), Error);
}

TEST(Compute, LeavesTheModelUntouchedAndIgnoresInputsOutsideTheIntervals) {
  TKNet net = HandNet(1, TrainingPath::General);
  net.TrainAllLayers();
  const auto before = Mediators(net);
  const struct { double x, expected; } cases[] = {{0.5, 20}, {1, 20}, {1.5, 12}, {2, 12}, {3, 30}, {3.5, 0}, {NAN, 0}};
  for (const auto& c : cases) EXPECT_EQ(net.Compute({c.x}), std::vector<double>{c.expected}) << c.x;
  EXPECT_EQ(Mediators(net), before);
  EXPECT_THROW(net.Compute({1, 2}), Error);
  EXPECT_THROW(net.Compute({}), Error);
}

TEST(Compute, OneLayerGivesZerosAndThreeLayersAverage) {
  TKNet single = test::TemplateNet(2, 3, 1);
  single.LayerCount = 1;
  single.BuildLayers();
  EXPECT_EQ(single.Compute({1, 2}), (std::vector<double>{0, 0, 0}));

  TKNet deep = test::TemplateNet(2, 2, 1);
  deep.LayerCount = 3;
  deep.BuildLayers();
  for (std::size_t l = 0; l < 2; ++l)
    for (std::size_t n = 0; n < 2; ++n)
      for (std::size_t s = 0; s < 2; ++s)
        deep.Layers[l].Neurons[n].Synapses[s].Mediators = {{1.0, static_cast<double>(1 + s + 2 * n + 4 * l), 1, 1}};
  // Layer 1 gives 1+2 and 3+4, layer 2 gives 5+6 and 7+8.
  EXPECT_EQ(deep.Compute({0.5, 0.5}), (std::vector<double>{7, 11}));
}

TEST(Training, ThreeLayersTrainEveryLayerTowardsTheTargets) {
  TKNet net = test::TemplateNet(3, 2, 4);
  net.LayerCount = 3;
  net.BuildLayers();
  net.ReplacePatterns(test::RandomPatterns(3, 2, 10, 5));
  net.TrainAllLayers();
  ASSERT_EQ(net.Layers.size(), 2u);
  EXPECT_EQ(net.Layers[1].Neurons[0].Synapses.size(), 2u);  // one per neuron of the layer before
  EXPECT_FALSE(Mediators(net).empty());
  EXPECT_FALSE(net.Layers[1].Neurons[0].Synapses[0].Mediators.empty());
}

}  // namespace
}  // namespace qnet
