#include <gtest/gtest.h>

#include <cmath>

#include "atomic_file.hpp"
#include "error.hpp"
#include "model_file.hpp"
#include "test_support.hpp"

namespace qnet {
namespace {

TKNet HandModel() {
  TKNet net = test::TemplateNet(2, 1, 300);
  net.MinSignal = -0.0371524882291566;
  net.MaxSignal = 1102.818725585937;
  net.Layers[0].Neurons[0].Synapses[0].Mediators = {{-0.0371524882291566, 0.589767187395701, 1, 3},
                                                    {2.5, -4, 1, 1}};
  net.Layers[0].Neurons[0].Synapses[1].Mediators = {{1102.818725585937, 12, 1, 4}};
  return net;
}

TEST(ModelFile, WritesKeysInOrderWithCrLf) {
  EXPECT_EQ(FormatModelFile(HandModel()),
            "[K-Net]\r\n"
            "MinSignal = -0.0371524882291566\r\n"
            "MaxSignal = 1102.81872558594\r\n"
            "Intervals = 0\r\n"
            "Train = 0\r\n"
            "Epoch = 300\r\n"
            "LayersCount = 2\r\n"
            "Layer_00 = 2\r\n"
            "Layer_01 = 1\r\n"
            "NW_01_00_00 = 1\r\n"
            "IS_01_00_00 = 2\r\n"
            "SS_01_00_00_00 = -0.0371524882291566 0.589767187395701 1 3\r\n"
            "SS_01_00_00_01 = 2.5 -4 1 1\r\n"
            "NW_01_00_01 = 1\r\n"
            "IS_01_00_01 = 1\r\n"
            "SS_01_00_01_00 = 1102.81872558594 12 1 4\r\n");
}

TEST(ModelFile, IndicesWidenBeyondTwoDigits) {
  TKNet net = test::TemplateNet(101, 1, 1);
  const std::string text = FormatModelFile(net);
  EXPECT_NE(text.find("\r\nNW_01_00_09 = 1\r\nIS_01_00_09 = 0\r\nNW_01_00_10 = 1\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nNW_01_00_100 = 1\r\nIS_01_00_100 = 0\r\n"), std::string::npos);
}

// Models of several shapes, trained by the engine, go through the file and back.
TEST(ModelFile, SaveLoadSaveGivesTheSameFileAndTheSameOutputs) {
  const struct { int inputs, outputs, epochs, patterns; } shapes[] = {{1, 1, 3, 5}, {4, 3, 10, 30}, {12, 2, 5, 40}, {3, 7, 2, 21}};
  for (const auto& shape : shapes) {
    TKNet net = test::TemplateNet(shape.inputs, shape.outputs, shape.epochs);
    net.ReplacePatterns(test::RandomPatterns(shape.inputs, shape.outputs, shape.patterns, 11, 0.37));
    net.TrainAllLayers();
    const std::string first = FormatModelFile(net);
    TKNet loaded;
    ParseModelFile(first, "m.nnw", loaded);
    EXPECT_EQ(FormatModelFile(loaded), first) << shape.inputs << "x" << shape.outputs;
    TKNet again;
    ParseModelFile(FormatModelFile(loaded), "m.nnw", again);
    for (std::size_t row = 0; row < net.Patterns.Count(); ++row) {
      const std::vector<double> x(net.Patterns.InputRow(row), net.Patterns.InputRow(row) + shape.inputs);
      const std::vector<double> trained = net.Compute(x), read = loaded.Compute(x);
      EXPECT_EQ(read, again.Compute(x));  // once in the file's form, exactly stable
      for (std::size_t k = 0; k < trained.size(); ++k)
        EXPECT_NEAR(read[k], trained[k], 1e-12 * (1.0 + std::fabs(trained[k])));  // only the 15-digit rounding
    }
  }
}

TEST(ModelFile, BadFilesNameTheLineAndLeaveTheModelUntouched) {
  const std::string good = FormatModelFile(HandModel());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct { std::string text; const char* message; } cases[] = {
      {"", "m.nnw:1: expected the line [K-Net]"},
      {replaced("[K-Net]", "[Net]"), "m.nnw:1: expected the line [K-Net]"},
      {good.substr(0, good.find("SS_01_00_01_00")), "m.nnw:16: the file ends where SS_01_00_01_00 was expected"},
      {good.substr(0, good.find("Layer_01")), "m.nnw:9: the file ends where Layer_01 was expected"},
      {replaced("Intervals = 0\r\nTrain = 0", "Train = 0\r\nIntervals = 0"), "m.nnw:4: expected key Intervals, found 'Train'"},
      {replaced("MaxSignal = ", "MaxSignal= "), "m.nnw:3: expected 'MaxSignal = value'"},
      {replaced("Epoch = 300", "Epoch = 3x0"), "m.nnw:6: Epoch: '3x0' is not a finite number"},
      {replaced("IS_01_00_00 = 2", "IS_01_00_00 = 1.5"), "m.nnw:11: IS_01_00_00: '1.5' is not a whole number"},
      {replaced("LayersCount = 2", "LayersCount = 0"), "m.nnw:7: LayersCount: '0' is not a whole number from 1"},
      {replaced(" 2.5 -4 1 1", " 2.5 -4 1"), "m.nnw:13: SS_01_00_00_01 needs four numbers, found 3"},
      {replaced(" 2.5 -4 1 1", " 2.5 nan 1 1"), "m.nnw:13: SS_01_00_00_01: 'nan' is not a finite number"},
      {good + "extra = 1\r\n", "m.nnw:17: unexpected text after the last mediator"},
  };
  for (const auto& c : cases) {
    TKNet net = test::TemplateNet(5, 5, 7);
    try {
      ParseModelFile(c.text, "m.nnw", net);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
    EXPECT_EQ(net.InputNeuronCount, 5);
    EXPECT_EQ(net.EpochCount, 7);
    EXPECT_EQ(net.Layers[0].Neurons.size(), 5u);
  }
}

TEST(ModelFile, AModelWithValuesBeyondNumbersIsNotWritten) {
  test::TempFolder folder;
  for (double bad : {static_cast<double>(INFINITY), static_cast<double>(NAN), 1e301}) {
    TKNet net = HandModel();
    net.Layers[0].Neurons[0].Synapses[1].Mediators[0].Value = bad;
    EXPECT_THROW(WriteModelFile(folder.File("m.nnw"), net), Error);
    net.Layers[0].Neurons[0].Synapses[1].Mediators[0].Value = 1;
    net.Layers[0].Neurons[0].Synapses[0].Mediators[1].Bound = bad;
    EXPECT_THROW(WriteModelFile(folder.File("m.nnw"), net), Error);
  }
  EXPECT_TRUE(folder.Names().empty());
}

TEST(ModelFile, ReadsLfLineEndsAndSetsSizesAndSettings) {
  std::string text = FormatModelFile(HandModel());
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  TKNet net;
  ParseModelFile(lf, "m.nnw", net);
  EXPECT_EQ(FormatModelFile(net), text);
  EXPECT_EQ(net.InputNeuronCount, 2);
  EXPECT_EQ(net.OutputNeuronCount, 1);
  EXPECT_EQ(net.EpochCount, 300);
  EXPECT_TRUE(net.Layers[0].Neurons[0].Synapses[0].AutoInterval);
}

}  // namespace
}  // namespace qnet
