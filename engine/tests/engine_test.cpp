#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "atomic_file.hpp"
#include "engine.hpp"
#include "error.hpp"
#include "number_format.hpp"
#include "table_file.hpp"
#include "test_support.hpp"

namespace qnet {
namespace {

const Engine::Keywords kTemplateKeywords = {{"layers", 2LL}, {"inputs", 3LL},      {"epoch", 4LL},
                                            {"outputs", 2LL}, {"intervals", 0LL}, {"autointervals", true}};

int TrainedHandle(Engine& engine, const test::TempFolder& folder) {
  const int handle = engine.New(kTemplateKeywords);
  WriteTrainingTable(folder.File("t.csv"), test::RandomPatterns(3, 2, 12, 8));
  engine.Load(handle, folder.File("t.csv"));
  return handle;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

TEST(EngineNew, AppliesNonZeroKeywordsOnly) {
  Engine engine;
  const TKNet& net = engine.Model(engine.New(kTemplateKeywords));
  EXPECT_EQ(net.LayerCount, 2);
  EXPECT_EQ(net.InputNeuronCount, 3);
  EXPECT_EQ(net.OutputNeuronCount, 2);
  EXPECT_EQ(net.EpochCount, 4);
  EXPECT_EQ(net.IntervalCount, 0);
  EXPECT_TRUE(net.AutoIntervals);
  EXPECT_EQ(net.Layers.at(0).Neurons.size(), 2u);

  const TKNet& defaults = engine.Model(engine.New({{"layers", 0LL}, {"epoch", 0LL}, {"intervals", 10LL},
                                                   {"autointervals", false}, {"density", 0LL}}));
  EXPECT_EQ(defaults.LayerCount, 2);
  EXPECT_EQ(defaults.EpochCount, 50);
  EXPECT_EQ(defaults.IntervalCount, 10);
  EXPECT_FALSE(defaults.AutoIntervals);

  EXPECT_EQ(engine.Model(engine.New({{"patterns", 500LL}})).TrainPatterns, 1.0);
  EXPECT_EQ(engine.Model(engine.New({{"qnetfile", std::string("a.nnw")}})).IniFileName, "a.nnw");
  EXPECT_EQ(engine.Model(engine.New({{"density", 4LL}, {"interpolate", 1LL}})).Density, 4);
}

TEST(EngineNew, RefusesUnknownKeywordsAndWrongTypes) {
  Engine engine;
  EXPECT_EQ(ErrorOf([&] { engine.New({{"layer", 2LL}}); }), "unknown keyword 'layer'");
  EXPECT_EQ(ErrorOf([&] { engine.New({{"inputs", std::string("3")}}); }), "keyword inputs takes a whole number");
  EXPECT_EQ(ErrorOf([&] { engine.New({{"inputs", -3LL}}); }), "InputNeuronCount must lie from 0 to 1000000, not -3");
  EXPECT_EQ(ErrorOf([&] { engine.New({{"layers", -1LL}}); }), "LayerCount must lie from 1 to 1000000, not -1");
}

TEST(EngineHandles, UnknownHandleIsAnErrorForEveryOperation) {
  Engine engine;
  engine.NewEmpty();
  const std::vector<std::function<void()>> calls = {
      [&] { engine.AddPattern(1, {1}, {1}); }, [&] { engine.Load(-1, "x.csv"); }, [&] { engine.Info(7); },
      [&] { engine.Train(1, std::nullopt); },  [&] { engine.Save(1, "x.nnw"); }, [&] { engine.Source(1, "x.js"); },
      [&] { engine.Compute(1, {}); },          [&] { engine.Fit(1, {}, {}); }};
  for (const auto& call : calls) EXPECT_NE(ErrorOf(call).find("unknown model handle"), std::string::npos);
}

TEST(EngineTrain, ReportsPatternsEpochsErrorAndTime) {
  test::TempFolder folder;
  Engine engine;
  const int handle = TrainedHandle(engine, folder);
  const std::string result = engine.Train(handle, std::nullopt);
  EXPECT_TRUE(std::regex_match(result, std::regex(R"(Training Q-Net Patterns=12 Epoch=4 Error=\d+\.\d{6} Time=\d+ ms\.)")))
      << result;
  EXPECT_NE(engine.Info(handle).find("Inputs=3 Outputs=2 Layers=2 Patterns=12 Epochs=4"), std::string::npos);
}

TEST(EngineTrain, LogWritesOneOutputTablePerEpochNamedInEpochOrder) {
  test::TempFolder folder;
  Engine engine;
  const int handle = TrainedHandle(engine, folder);
  engine.Model(handle).EpochCount = 11;
  engine.Train(handle, folder.File("log") + "\\qnet.csv");  // the scripts' folder separator
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("log"))) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  ASSERT_EQ(names.size(), 11u);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], "qnet" + std::to_string(i + 1) + ".csv");
  EXPECT_EQ(engine.Model(handle).OnEpochPassed, nullptr);  // the logger is gone after the call

  // The last table holds the outputs of the trained model for every pattern.
  const TKNet& net = engine.Model(handle);
  std::string expected = "out1,out2\r\n";
  for (std::size_t row = 0; row < net.Patterns.Count(); ++row) {
    const auto out = net.Compute({net.Patterns.InputRow(row), net.Patterns.InputRow(row) + 3});
    expected += FormatFixed(out[0], 8) + "," + FormatFixed(out[1], 8) + "\r\n";
  }
  EXPECT_EQ(ReadWholeFile(folder.File("log/qnet11.csv")), expected);
}

TEST(EngineFiles, SaveAndLoadKeepPatternsAndModel) {
  test::TempFolder folder;
  Engine engine;
  const int handle = TrainedHandle(engine, folder);
  engine.Train(handle, std::nullopt);
  EXPECT_EQ(engine.Save(handle, folder.File("m.nnw")), folder.File("m.nnw"));
  engine.Save(handle, folder.File("copy.csv"));
  EXPECT_EQ(ReadWholeFile(folder.File("copy.csv")), ReadWholeFile(folder.File("t.csv")));

  const int loaded = engine.NewEmpty();
  engine.Load(loaded, folder.File("m.nnw"));
  engine.Save(loaded, folder.File("again.nnw"));
  EXPECT_EQ(ReadWholeFile(folder.File("again.nnw")), ReadWholeFile(folder.File("m.nnw")));
  EXPECT_EQ(engine.Compute(loaded, {1, 2, 3}).size(), 2u);
}

TEST(EngineFiles, BadRequestsFailCleanlyAndWriteNothing) {
  test::TempFolder folder;
  Engine engine;
  const int handle = TrainedHandle(engine, folder);
  const std::string table = folder.File("t.csv");
  WriteFileAtomically(folder.File("wide.csv"), "in1,in2,in3,in4,out1,out2\n1,2,3,4,5,6\n");
  EXPECT_EQ(ErrorOf([&] { engine.Load(handle, folder.File("wide.csv")); }),
            folder.File("wide.csv") + ": the table has 4 inputs, the model 3");
  EXPECT_EQ(engine.Model(handle).PatternCount(), 12);
  EXPECT_NE(ErrorOf([&] { engine.Load(handle, folder.File("m.txt")); }).find("load reads a .csv"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { engine.Save(handle, folder.File("m.txt")); }).find("save writes a .nnw"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { engine.Source(handle, folder.File("m.py")); }).find("must end in .js, .cpp or .pas"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { engine.Save(handle, folder.File("no/m.nnw")); }).find("cannot write"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { engine.Compute(handle, {1, 2}); }).find("2 inputs given, the model has 3"), std::string::npos);
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"t.csv", "wide.csv"}));
}

TEST(EngineFit, RowsReplaceThePatternsOnlyWhenAllAreGood) {
  Engine engine;
  const int handle = engine.New(kTemplateKeywords);
  EXPECT_NE(engine.Fit(handle, {{1, 2, 3}, {2, 3, 4}}, {{100, 0}, {0, 100}}).find("Patterns=2"), std::string::npos);
  EXPECT_EQ(ErrorOf([&] { engine.Fit(handle, {{1, 2, 3}, {1, 2}}, {{1, 0}, {0, 1}}); }),
            "pattern 2: 2 inputs given, the model has 3");
  EXPECT_EQ(ErrorOf([&] { engine.Fit(handle, {{1, 2, 3}}, {}); }), "1 input rows but 0 target rows");
  EXPECT_EQ(engine.Model(handle).PatternCount(), 2);
}

TEST(EngineProperties, GetAndSetByName) {
  Engine engine;
  TKNet& net = engine.Model(engine.New(kTemplateKeywords));
  SetProperty(net, "EpochCount", 7LL);
  SetProperty(net, "TrainErrorLevel", 0.5);
  SetProperty(net, "MixPatterns", true);
  SetProperty(net, "TrainPatterns", 3.0);
  EXPECT_EQ(std::get<long long>(GetProperty(net, "EpochCount")), 7);
  EXPECT_EQ(std::get<double>(GetProperty(net, "TrainErrorLevel")), 0.5);
  EXPECT_TRUE(std::get<bool>(GetProperty(net, "MixPatterns")));
  EXPECT_EQ(std::get<double>(GetProperty(net, "TrainPatterns")), 1.0);
  EXPECT_EQ(std::get<double>(GetProperty(net, "IdentError")), 0.05);
  EXPECT_EQ(ErrorOf([&] { SetProperty(net, "PatternCount", 3LL); }), "PatternCount is read only");
  EXPECT_EQ(ErrorOf([&] { SetProperty(net, "ErrorType", 5LL); }), "ErrorType must lie from 0 to 4, not 5");
  EXPECT_EQ(ErrorOf([&] { SetProperty(net, "EpochCount", 1.5); }), "EpochCount takes a whole number");
  EXPECT_EQ(ErrorOf([&] { GetProperty(net, "Speed"); }), "unknown property 'Speed'");
  SetProperty(net, "InputNeuronCount", 5LL);
  EXPECT_EQ(net.Layers[0].Neurons[0].Synapses.size(), 5u);
}

}  // namespace
}  // namespace qnet
