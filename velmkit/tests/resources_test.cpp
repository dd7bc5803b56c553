#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "test_support.h"
#include "velmkit/resources.h"

namespace velmkit {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

const std::string kSample = VELMKIT_RESOURCE_SAMPLE;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(ModuleResources, ReadBackFromTheLibraryFile) {
  ModuleResources resources = ReadModuleResources(kSample);

  EXPECT_EQ(resources.strings.at(kComponentNameStringId), "SampleForm");
  EXPECT_EQ(resources.strings.at(7), "say \"hi\" \\ back");

  ASSERT_TRUE(resources.hasPwaApp);
  EXPECT_EQ(resources.pwaApp, Bytes(ReadText(std::string(VELMKIT_RESOURCE_FIXTURES) + "/payload.bin")));

  ASSERT_EQ(resources.icons.size(), 2u);
  EXPECT_EQ(resources.icons[0].width, 16);
  EXPECT_EQ(resources.icons[0].height, 16);
  EXPECT_EQ(resources.icons[1].width, 32);
  EXPECT_EQ(resources.icons[1].bitCount, 24);
  EXPECT_EQ(resources.icons[1].bytes, Bytes(ReadText(std::string(VELMKIT_RESOURCE_FIXTURES) + "/icon32.bmp")));

  ASSERT_TRUE(resources.hasVersion);
  const ModuleVersion& version = resources.version;
  EXPECT_EQ(std::vector<int>(version.fileVersion, version.fileVersion + 4), (std::vector<int>{1, 0, 1, 1}));
  EXPECT_EQ(std::vector<int>(version.productVersion, version.productVersion + 4), (std::vector<int>{1, 0, 1, 1}));
  EXPECT_EQ(version.fileOs, 0x40004u);
  EXPECT_EQ(version.fileType, 1u);
  EXPECT_EQ(version.fileFlags, 0u);
  ASSERT_EQ(version.translations.size(), 1u);
  EXPECT_EQ(version.translations[0], std::make_pair(std::uint16_t{0x0419}, std::uint16_t{0x04E4}));
  ASSERT_EQ(version.stringTables.size(), 2u);
  EXPECT_EQ(version.stringTables[1].key, "041904E4");
  using Entries = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(version.stringTables[0].entries,
            (Entries{{"CompanyName", "Sample Works"},
                     {"FileVersion", "1.00.01.001"},
                     {"LegalCopyright", "\xC2\xA9 Sample Works"},
                     {"OriginalFilename", "sample.dll"}}));
  EXPECT_EQ(version.stringTables[1].entries, version.stringTables[0].entries);
}

TEST(ModuleResources, LibraryReadsItsOwnComponentName) {
  void* library = dlopen(kSample.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  using NameFunction = const char* (*)();
  auto name = reinterpret_cast<NameFunction>(dlsym(library, "velmkit_sample_component_name"));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name(), "SampleForm");
  dlclose(library);
}

TEST(ModuleResources, SurviveStripping) {
  TempFolder folder;
  std::string stripped = folder / "stripped.so";
  std::string command = "strip --strip-all -o '" + stripped + "' '" + kSample + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ModuleResources resources = ReadModuleResources(stripped);
  EXPECT_EQ(resources.strings.at(kComponentNameStringId), "SampleForm");
  EXPECT_EQ(resources.icons.size(), 2u);
}

TEST(ModuleResources, AbsentSectionsStayEmpty) {
  // The test program itself is an ELF file without resources.
  ModuleResources resources = ReadModuleResources("/proc/self/exe");
  EXPECT_TRUE(resources.strings.empty());
  EXPECT_FALSE(resources.hasPwaApp);
  EXPECT_FALSE(resources.hasVersion);
  EXPECT_TRUE(resources.icons.empty());
  EXPECT_EQ(LoadModuleString(nullptr, kComponentNameStringId), "");
}

// Section header of `name` inside an ELF image held in memory.
Elf64_Shdr* FindSection(std::string& image, const char* name) {
  auto* header = reinterpret_cast<Elf64_Ehdr*>(image.data());
  auto* sections = reinterpret_cast<Elf64_Shdr*>(image.data() + header->e_shoff);
  const char* names = image.data() + sections[header->e_shstrndx].sh_offset;
  for (int i = 0; i < header->e_shnum; ++i) {
    if (std::strcmp(names + sections[i].sh_name, name) == 0) return &sections[i];
  }
  return nullptr;
}

TEST(ModuleResources, DamagedFilesAreRefusedNamingTheFile) {
  const std::string original = ReadText(kSample);
  struct Case {
    const char* what;
    std::function<std::string(std::string)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"text file", [](std::string) { return std::string(200, 'x'); }, "not an ELF file"},
      {"too short", [](std::string image) { return image.substr(0, 40); }, "too short"},
      {"cut before the sections", [](std::string image) { return image.substr(0, image.size() / 2); }, "cut short"},
      {"32-bit class",
       [](std::string image) {
         image[EI_CLASS] = ELFCLASS32;
         return image;
       },
       "64-bit"},
      {"section past the end",
       [](std::string image) {
         FindSection(image, ".velm_pwa_app")->sh_size = image.size();
         return image;
       },
       "beyond the end"},
      {"string record past the end",
       [](std::string image) {
         Elf64_Shdr* strings = FindSection(image, ".velm_strings");
         image[strings->sh_offset + 4] = '\x7F';  // the first record's length
         return image;
       },
       "past the end of the section"},
      {"unknown version layout",
       [](std::string image) {
         image[FindSection(image, ".velm_version")->sh_offset] = 'X';
         return image;
       },
       "unknown layout"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    std::string path = folder / "damaged.so";
    WriteText(path, c.damage(original));
    try {
      ReadModuleResources(path);
      ADD_FAILURE() << c.what << ": read";
    } catch (const ResourceError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << c.what;
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
    }
  }
  EXPECT_THROW(ReadModuleResources("/nonexistent/module.so"), ResourceError);
}

}  // namespace
}  // namespace velmkit
