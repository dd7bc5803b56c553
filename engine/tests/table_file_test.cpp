#include <gtest/gtest.h>

#include "atomic_file.hpp"
#include "error.hpp"
#include "table_file.hpp"
#include "test_support.hpp"

namespace qnet {
namespace {

PatternSet TwoByOne() {
  PatternSet set;
  set.InputCount = 2;
  set.OutputCount = 1;
  set.Inputs = {0.0, -1.5, 100.0, 0.123456789};
  set.Targets = {100.0, 0.0};
  return set;
}

TEST(TrainingTable, WritesEightDecimalsAndCrLfAfterEveryLine) {
  EXPECT_EQ(FormatTrainingTable(TwoByOne()),
            "in1,in2,out1\r\n"
            "0.00000000,-1.50000000,100.00000000\r\n"
            "100.00000000,0.12345679,0.00000000\r\n");
}

TEST(TrainingTable, ReadsAnyPrecisionWithLfOrCrLf) {
  const char* texts[] = {
      "in1,in2,out1\n0,-1.5,100\n100,0.123456789,0\n",
      "in1,in2,out1\r\n0.0,-1.50,1e2\r\n100,0.123456789,0.000\r\n",
      "in1,in2,out1\n0,-1.5,100\n100,0.123456789,0",  // no final line end
      "in1,in2,out1\n0,-1.5,100\n100,0.123456789,0\n\n\r\n",  // blank lines at the end
  };
  for (const char* text : texts) {
    const PatternSet set = ParseTrainingTable(text, "t.csv");
    EXPECT_EQ(set.InputCount, 2u) << text;
    EXPECT_EQ(set.OutputCount, 1u);
    EXPECT_EQ(set.Inputs, TwoByOne().Inputs) << text;
    EXPECT_EQ(set.Targets, TwoByOne().Targets) << text;
  }
}

TEST(TrainingTable, BadInputNamesFileLineAndColumn) {
  const struct { const char* text; const char* message; } cases[] = {
      {"", "t.csv: the table is empty"},
      {"in1,out1\r\n", "t.csv: the table has no patterns"},
      {"in1,out1\n\n1,2\n", "t.csv:2: 1 columns, the header has 2"},
      {"in1,in2,out1\n1,2,3\n1,2\n", "t.csv:3: 2 columns, the header has 3"},
      {"in1,in2,out1\n1,2,3,4\n", "t.csv:2: 4 columns, the header has 3"},
      {"in1,in2,out1\n1,x2,3\n", "t.csv:2: column 2 (in2): 'x2' is not a number"},
      {"in1,in2,out1\n1,,3\n", "t.csv:2: column 2 (in2): '' is not a number"},
      {"in1,in2,out1\n1,2,3\n4,nan,6\n", "t.csv:3: column 2 (in2): 'nan' is not a finite number"},
      {"in1,in2,out1\n1,2,-inf\n", "t.csv:2: column 3 (out1): '-inf' is not a finite number"},
      {"in1,in3,out1\n1,2,3\n", "t.csv:1: header column 2 is 'in3'"},
      {"in1,in2\n1,2\n", "t.csv:1: header column 2 is 'in2'"},
      {"out1,in1\n1,2\n", "t.csv:1: header column 1 is 'out1'"},
  };
  for (const auto& c : cases) {
    try {
      ParseTrainingTable(c.text, "t.csv");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

TEST(TrainingTable, InputsOnlyTableIsAcceptedWhenNoOutputsAreRequired) {
  const PatternSet set = ParseTrainingTable("in1,in2\n1,2\n", "t.csv", false);
  EXPECT_EQ(set.Count(), 1u);
  EXPECT_EQ(set.OutputCount, 0u);
}

TEST(TrainingTable, WriteAndReadGiveTheSamePatterns) {
  test::TempFolder folder;
  const PatternSet set = test::RandomPatterns(5, 3, 12, 7);
  WriteTrainingTable(folder.File("t.csv"), set);
  const PatternSet back = ReadTrainingTable(folder.File("t.csv"));
  EXPECT_EQ(back.Inputs, set.Inputs);  // grid values survive eight decimals exactly
  EXPECT_EQ(back.Targets, set.Targets);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"t.csv"});  // no temporary file is left behind
}

TEST(AtomicWrite, FailedWriteLeavesNoFileBehind) {
  test::TempFolder folder;
  EXPECT_THROW(WriteFileAtomically(folder.File("missing/t.csv"), "x"), Error);
  WriteFileAtomically(folder.File("t.csv"), "old");
  // A folder in the way of the target makes the rename fail: the old content stays.
  std::filesystem::create_directories(folder.File("dir.csv"));
  std::filesystem::create_directories(folder.File("dir.csv/inner"));
  EXPECT_THROW(WriteFileAtomically(folder.File("dir.csv"), "new"), Error);
  EXPECT_EQ(ReadWholeFile(folder.File("t.csv")), "old");
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"dir.csv", "t.csv"}));
}

}  // namespace
}  // namespace qnet
