#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "export_file.hpp"
#include "number_format.hpp"
#include "test_support.hpp"
#include "text_lines.hpp"

namespace qnet {
namespace {

// 24 inputs, one output, 104 mediators: 8 synapses with 5, 16 with 4.
TKNet PoseShapedModel() {
  TKNet net = test::TemplateNet(24, 1, 100);
  auto& synapses = net.Layers[0].Neurons[0].Synapses;
  for (std::size_t s = 0; s < synapses.size(); ++s) {
    const std::size_t count = s < 8 ? 5 : 4;
    for (std::size_t m = 0; m < count; ++m)
      synapses[s].Mediators.push_back({0.1 * static_cast<double>(m) - 0.05, -0.0371524882291566 * static_cast<double>(s + m), 1,
                                       static_cast<std::int64_t>(m + 1)});
  }
  return net;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(Export, DataArrayLayoutFollowsTheModelFile) {
  const TKNet net = PoseShapedModel();
  const std::vector<double> data = FlatModelArray(net);
  EXPECT_EQ(data.size(), 469u);
  EXPECT_EQ(std::vector<double>(data.begin(), data.begin() + 5), (std::vector<double>{777, 2, 24, 1, 24}));
  EXPECT_EQ(data[5], 1.0);   // weight of the first synapse
  EXPECT_EQ(data[6], 5.0);   // its mediator count
  EXPECT_EQ(data[7], -0.05); // first bound
  EXPECT_EQ(data[10], 1.0);  // first hit count
}

TEST(Export, JavaScriptFormHasItsFixedLinesAndCrLfOnly) {
  const std::string text = FormatExport(PoseShapedModel(), ExportKind::JavaScript, "STAMP");
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      ASSERT_EQ(text[i - 1], '\r') << "at " << i;
    }
  const std::vector<std::string> lines = Lines(text);
  const std::string rule = "//+------------------------------------------------------------------+";
  EXPECT_EQ(lines[0], rule);
  EXPECT_EQ(lines[1], "//  <STAMP - STAMP> <>");
  EXPECT_EQ(lines[2], rule);
  const std::vector<std::string> members = {"export const qnet = {", "  QNETID: 777,", "  LAYERS: 1,", "  INPUTS: 2,",
                                            "  NEURONS: 3,", "  SYNAPSES: 4,", "  SWEIGHT: 5,", "  MEDIATORS: 6,",
                                            "  PSTEP: 4,", "  PSIZE: 469,", "  NVARS: 24,", "  NCLASS: 1,"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 15), members);
  EXPECT_EQ(lines.back(), rule);
  EXPECT_EQ(lines[lines.size() - 2], "}");
  EXPECT_EQ(lines[lines.size() - 3], "  }");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Numbers with four decimals, ", " after each, a line break as soon as a
// line reaches 80 characters, "]," straight after the last number.
TEST(Export, DataLinesWrapAtEightyCharacters) {
  const TKNet net = PoseShapedModel();
  const std::vector<std::string> lines = Lines(FormatExport(net, ExportKind::JavaScript, "STAMP"));
  std::size_t first = 15;
  ASSERT_EQ(lines[first].rfind("  data:  [", 0), 0u);
  std::string joined;
  std::size_t last = first;
  while (lines[last].substr(lines[last].size() - 2) != "],") {
    const std::string& line = lines[last];
    EXPECT_GE(line.size(), 80u) << line;
    const std::size_t previous = line.rfind(", ", line.size() - 3);
    EXPECT_LT(previous + 2, 80u) << "should have broken earlier: " << line;
    ++last;
    ASSERT_EQ(lines[last].rfind("  ", 0), 0u);
  }
  EXPECT_EQ(lines[last + 1], "  Predict: function(inp) {");
  for (std::size_t i = first; i <= last; ++i) joined += lines[i].substr(i == first ? 10 : 2);
  std::string expected;
  std::vector<bool> bounds;
  const std::vector<double> data = FlatModelArray(net, &bounds);
  for (std::size_t i = 0; i < data.size(); ++i)
    expected += (bounds[i] ? FormatFixedNotBelow(data[i], 4) : FormatFixed(data[i], 4)) + (i + 1 < data.size() ? ", " : "],");
  EXPECT_EQ(std::count(bounds.begin(), bounds.end(), true), 104);
  EXPECT_EQ(joined, expected);
  EXPECT_NE(joined.find("-0.0372, "), std::string::npos);
}

TEST(Export, CommonJsFormDeclaresPlainlyAndAssignsTheExportAtTheEnd) {
  const std::string exported = FormatExport(PoseShapedModel(), ExportKind::JavaScript, "STAMP");
  const std::string form = CommonJsForm(exported);
  std::string expected = exported;
  expected.replace(expected.find("export const qnet = {"), 21, "const qnet = {");
  expected += "\r\nmodule.exports = qnet";
  EXPECT_EQ(form, expected);
  const std::string tail = "}\r\n//+------------------------------------------------------------------+\r\n\r\nmodule.exports = qnet";
  EXPECT_EQ(form.substr(form.size() - tail.size()), tail);
  EXPECT_THROW(CommonJsForm(form), std::exception);  // already converted
  EXPECT_THROW(CommonJsForm("const x = 1;\r\n"), std::exception);
}

TEST(Export, PathExtensionChoosesTheForm) {
  EXPECT_EQ(ExportKindOf("m.js"), ExportKind::JavaScript);
  EXPECT_EQ(ExportKindOf("a/m.cpp"), ExportKind::Cpp);
  EXPECT_EQ(ExportKindOf("m.pas"), ExportKind::Pascal);
  EXPECT_THROW(ExportKindOf("m.jsx"), std::exception);
  EXPECT_THROW(ExportKindOf("js"), std::exception);
}

TEST(Export, PascalFormDeclaresTheArrayAndTheRoutine) {
  const std::string text = FormatExport(PoseShapedModel(), ExportKind::Pascal, "STAMP");
  EXPECT_NE(text.find("unit qnet_model;\r\n"), std::string::npos);
  EXPECT_NE(text.find("  PSIZE = 469;\r\n"), std::string::npos);
  EXPECT_NE(text.find("  data: array[0..PSIZE - 1] of Double = (777.0000, 2.0000, 24.0000"), std::string::npos);
  EXPECT_NE(text.find("function Predict(const inp: array of Double): TOutputs;\r\nvar"), std::string::npos);
  EXPECT_NE(text.find(");\r\n\r\ntype"), std::string::npos);
  EXPECT_NE(text.find("\r\nend.\r\n//+"), std::string::npos);
}

#ifdef QNET_TEST_CXX_COMPILER
// The C++ form compiles, and its Predict agrees with Compute up to the
// export's four decimals.
TEST(Export, CppFormCompilesAndPredictsLikeCompute) {
  test::TempFolder folder;
  TKNet net = test::TemplateNet(3, 2, 5);
  net.ReplacePatterns(test::RandomPatterns(3, 2, 20, 4, 0.37));
  net.TrainAllLayers();
  { std::ofstream(folder.File("model.cpp")) << FormatExport(net, ExportKind::Cpp, "STAMP"); }
  // Inputs away from the grid of the bounds, where four decimals cannot move them.
  const std::vector<std::vector<double>> inputs = {{0.2, 1.3, 2.05}, {-3, -3, -3}, {1e9, 0.5, 5.5}};
  std::ostringstream main_text;
  main_text << "#include <cstdio>\n#include \"model.cpp\"\nint main() {\n";
  for (const auto& x : inputs) {
    main_text << "  for (double v : qnet_model::Predict({" << x[0] << "," << x[1] << "," << x[2] << "})) std::printf(\"%.6f\\n\", v);\n";
  }
  main_text << "}\n";
  { std::ofstream(folder.File("main.cpp")) << main_text.str(); }
  const std::string command = std::string(QNET_TEST_CXX_COMPILER) + " -std=c++17 -o " + folder.File("predict") + " " +
                              folder.File("main.cpp") + " && " + folder.File("predict") + " > " + folder.File("out.txt");
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream out(folder.File("out.txt"));
  for (const auto& x : inputs)
    for (double expected : net.Compute(x)) {
      double value = 0;
      ASSERT_TRUE(out >> value);
      EXPECT_NEAR(value, expected, 3 * 0.00005 + 1e-6);
    }
}
#endif

}  // namespace
}  // namespace qnet
