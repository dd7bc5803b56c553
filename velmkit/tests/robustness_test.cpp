// Damaged inputs, made by a seeded generator, must be read or refused with
// the library's own error: never a crash, never a read out of bounds (the
// sanitizer build checks the latter).
#include <elf.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "test_support.h"
#include "velmkit/pubframe.h"
#include "velmkit/resources.h"

namespace velmkit {
namespace {

using testing::FixturePath;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

std::string Mutate(std::string text, std::mt19937& random, const std::vector<size_t>& spots) {
  static const std::string pieces = "<>/\"\\.&;#x0 \r\n\t";
  std::uniform_int_distribution<int> edits(1, 4);
  for (int n = edits(random); n > 0 && !text.empty(); --n) {
    size_t at = spots.empty() ? random() % text.size() : spots[random() % spots.size()] % text.size();
    switch (random() % 3) {
      case 0: text[at] = pieces[random() % pieces.size()]; break;
      case 1: text.erase(at, 1 + random() % 8); break;
      default: text.insert(at, 1, pieces[random() % pieces.size()]);
    }
  }
  return text;
}

TEST(Robustness, DamagedDescriptorsOpenStablyOrAreRefused) {
  const std::string original = ReadText(FixturePath("project/pwa.pwa"));
  std::mt19937 random(20261210);
  TempFolder folder;
  int opened = 0;
  for (int round = 0; round < 300; ++round) {
    WriteText(folder / "pwa.pwa", Mutate(original, random, {}));
    std::unique_ptr<TPubFrame> frame;
    try {
      frame.reset(TPubFrame::Open(folder.Path(), nullptr, nullptr));
    } catch (const DescriptorError& error) {
      EXPECT_NE(std::string(error.what()).find("pwa.pwa:"), std::string::npos) << error.what();
      continue;
    }
    ++opened;
    std::string saved;
    try {
      saved = frame->Serialize();
    } catch (const std::runtime_error&) {
      continue;  // text XML cannot carry: Save reports it and keeps the file
    }
    // What was written reads back to the same text.
    WriteText(folder / "pwa.pwa", saved);
    std::unique_ptr<TPubFrame> again(TPubFrame::Open(folder.Path(), nullptr, nullptr));
    ASSERT_EQ(again->Serialize(), saved) << "round " << round;
  }
  EXPECT_GT(opened, 0) << "the generator never kept a descriptor readable";
}

TEST(Robustness, DamagedLibraryHeadersAreReadOrRefused) {
  const std::string original = ReadText(VELMKIT_RESOURCE_SAMPLE);
  const auto* header = reinterpret_cast<const Elf64_Ehdr*>(original.data());
  std::vector<size_t> spots;
  for (size_t i = 0; i < sizeof(Elf64_Ehdr); ++i) spots.push_back(i);
  for (size_t i = 0; i < size_t{header->e_shnum} * sizeof(Elf64_Shdr); ++i) spots.push_back(header->e_shoff + i);
  std::mt19937 random(1210);
  TempFolder folder;
  for (int round = 0; round < 300; ++round) {
    std::string damaged = original;
    // Byte changes only: the section table stays where the header says.
    std::uniform_int_distribution<int> edits(1, 3);
    for (int n = edits(random); n > 0; --n) damaged[spots[random() % spots.size()]] = static_cast<char>(random());
    WriteText(folder / "module.so", damaged);
    try {
      ReadModuleResources(folder / "module.so");
    } catch (const ResourceError& error) {
      EXPECT_NE(std::string(error.what()).find("module.so"), std::string::npos) << error.what();
    } catch (const std::bad_alloc&) {
      ADD_FAILURE() << "round " << round << ": a damaged size was trusted";
    }
  }
}

}  // namespace
}  // namespace velmkit
