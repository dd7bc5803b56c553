// What the host reads from a module library file without loading it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "module_host.h"

namespace velmtest {
namespace {

class ResourcesTest : public testing::TestWithParam<ModuleFacts> {};

TEST_P(ResourcesTest, ComponentNameIconsAndVersionBlock) {
    const velmkit::ModuleResources resources = velmkit::ReadModuleResources(modulePath(GetParam().deliverable));
    EXPECT_EQ(resources.strings.at(velmkit::kComponentNameStringId), GetParam().componentName);

    ASSERT_EQ(resources.icons.size(), 2u);
    EXPECT_EQ(resources.icons[0].width, 16);
    EXPECT_EQ(resources.icons[0].height, 16);
    EXPECT_EQ(resources.icons[1].width, 32);
    EXPECT_EQ(resources.icons[1].height, 32);
    for (const velmkit::ModuleIcon& icon : resources.icons) {
        EXPECT_EQ(icon.bitCount, 24);
    }

    ASSERT_TRUE(resources.hasVersion);
    const velmkit::ModuleVersion& version = resources.version;
    const std::vector<std::uint16_t> expected = {1, 0, 1, 1};
    EXPECT_EQ(std::vector<std::uint16_t>(version.fileVersion, version.fileVersion + 4), expected);
    EXPECT_EQ(std::vector<std::uint16_t>(version.productVersion, version.productVersion + 4), expected);
    EXPECT_EQ(version.fileFlags, 0u);
    EXPECT_EQ(version.fileOs, 0x40004u);
    EXPECT_EQ(version.fileType, 1u);
    EXPECT_EQ(version.fileSubtype, 0u);
    ASSERT_EQ(version.translations.size(), 1u);
    EXPECT_EQ(version.translations[0], std::make_pair(std::uint16_t{0x0419}, std::uint16_t{0x04E4}));
    ASSERT_EQ(version.stringTables.size(), 2u);
    EXPECT_EQ(version.stringTables[0].key, "040904E4");
    EXPECT_EQ(version.stringTables[1].key, "041904E4");
    const std::vector<std::string> keys = {"CompanyName",    "FileDescription", "FileVersion",    "ProductName",
                                           "ProductVersion", "InternalName",    "LegalCopyright", "OriginalFilename"};
    for (const auto& table : version.stringTables) {
        std::vector<std::string> tableKeys;
        for (const auto& [key, value] : table.entries) {
            tableKeys.push_back(key);
            EXPECT_FALSE(value.empty()) << key;
        }
        EXPECT_EQ(tableKeys, keys);
        EXPECT_EQ(table.entries, version.stringTables[0].entries);
        EXPECT_EQ(table.entries.at(2).second, "1.00.01.001");
        EXPECT_EQ(table.entries.at(4).second, "1.00.01.001");
        EXPECT_EQ(table.entries.at(7).second, GetParam().deliverable + ".dll");
    }
}

TEST_P(ResourcesTest, TemplateArchiveIsEmbeddedWhole) {
    const velmkit::ModuleResources resources = velmkit::ReadModuleResources(modulePath(GetParam().deliverable));
    ASSERT_TRUE(resources.hasPwaApp);
    const std::string archivePath = VELM_PACKED_ARCHIVES
                                        ? std::string(VELM_ARCHIVE_DIR) + "/" + GetParam().deliverable + "_pwa_app.zip"
                                        : std::string(VELM_FIXTURES_DIR) + "/template.zip";
    std::ifstream packed(archivePath, std::ios::binary);
    ASSERT_TRUE(packed) << archivePath;
    const std::vector<std::uint8_t> archive((std::istreambuf_iterator<char>(packed)), std::istreambuf_iterator<char>());
    EXPECT_EQ(resources.pwaApp, archive);
    ASSERT_GE(archive.size(), 4u);
    EXPECT_EQ(std::string(archive.begin(), archive.begin() + 4), std::string("PK\x03\x04", 4));
}

INSTANTIATE_TEST_SUITE_P(Modules, ResourcesTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

}  // namespace
}  // namespace velmtest
