// The shared test vectors: models with inputs and the outputs that the
// engine's Compute and the browser routine must both give.
#include <gtest/gtest.h>

#include <cmath>

#include "atomic_file.hpp"
#include "error.hpp"
#include "export_file.hpp"
#include "model_file.hpp"
#include "number_format.hpp"
#include "table_file.hpp"
#include "text_lines.hpp"

namespace qnet {
namespace {

const std::string kData = QNET_TESTDATA_DIR;

std::vector<double> Numbers(std::string_view text) {
  std::vector<double> values;
  if (text.empty()) return values;
  for (std::string_view field : SplitFields(text, ',')) {
    double value = 0.0;
    if (field == "nan") value = NAN;
    else if (!ParseNumber(field, value)) throw Error("bad number in vectors.csv: " + std::string(field));
    values.push_back(value);
  }
  return values;
}

TEST(TestVectors, ComputeGivesTheExpectedOutputs) {
  const std::string text = ReadWholeFile(kData + "/vectors.csv");
  LineReader lines(text);
  std::string_view line;
  int checked = 0;
  while (lines.Next(line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto fields = SplitFields(line, ';');
    ASSERT_EQ(fields.size(), 4u) << line;
    const std::string model(fields[0]);
    if (model.size() < 4 || model.substr(model.size() - 4) != ".nnw") continue;  // browser-only data forms
    TKNet net;
    ReadModelFile(kData + "/models/" + model, net);
    const std::vector<double> inputs = Numbers(fields[1]), expected = Numbers(fields[2]);
    if (inputs.size() != static_cast<std::size_t>(net.InputNeuronCount)) {
      EXPECT_THROW(net.Compute(inputs), Error) << line;  // the browser form returns zeros, Compute refuses
      continue;
    }
    const std::vector<double> out = net.Compute(inputs);
    ASSERT_EQ(out.size(), expected.size()) << line;
    for (std::size_t k = 0; k < out.size(); ++k)
      EXPECT_NEAR(out[k], expected[k], 1e-9 * (1 + std::fabs(expected[k]))) << line << " output " << k;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

std::string WithoutStamp(std::string exported) {
  const std::size_t stamp = exported.find("\r\n") + 2;
  return exported.replace(stamp, exported.find("\r\n", stamp) - stamp, "//  <STAMP - STAMP> <>");
}

// The trained models in the vectors come from fixed tables; training them
// again must write the same model file.
TEST(TestVectors, TrainedModelsAreReproducedFromTheirTables) {
  const struct { const char* name; int epochs; } models[] = {{"multi", 20}, {"single", 30}};
  for (const auto& m : models) {
    TKNet net;
    net.LayerCount = 2;
    net.IntervalCount = 0;
    net.AutoIntervals = true;
    net.EpochCount = m.epochs;
    net.ReplacePatterns(ReadTrainingTable(kData + "/tables/" + m.name + ".csv"));
    net.TrainAllLayers();
    EXPECT_EQ(FormatModelFile(net), ReadWholeFile(kData + "/models/" + m.name + ".nnw")) << m.name;
  }
}

// The browser forms the JavaScript tests read are the exports of the models.
TEST(TestVectors, BrowserFormsAreTheExportsOfTheModels) {
  for (const char* name : {"multi", "single", "hand_basic", "hand_three_layers"}) {
    TKNet net;
    ReadModelFile(kData + "/models/" + name + ".nnw", net);
    EXPECT_EQ(FormatExport(net, ExportKind::JavaScript, "STAMP"),
              WithoutStamp(ReadWholeFile(kData + "/models/" + name + ".js")))
        << name;
  }
}

}  // namespace
}  // namespace qnet
