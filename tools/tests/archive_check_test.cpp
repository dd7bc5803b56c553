#include "archive_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "raw_zip.h"
#include "zip_writer.h"

namespace velmtools {
namespace {

using testing::RawArchive;
using testing::RawMember;

std::vector<Violation> Check(const Bytes& bytes) { return CheckTemplateArchive(bytes.data(), bytes.size()); }

std::string Describe(const std::vector<Violation>& violations) {
  std::string text;
  for (const auto& v : violations) text += "[" + v.member + "] " + v.message + "\n";
  return text;
}

RawArchive TwoGoodMembers() {
  RawArchive archive;
  RawMember page;
  page.name = "index.html";
  RawMember picture;
  picture.name = "images/train/a/thumbnail.JPG";
  picture.content = Bytes(300, 7);
  archive.members = {page, picture};
  return archive;
}

TEST(ArchiveCheck, AcceptsWellFormedArchives) {
  EXPECT_THAT(Check(testing::Build(TwoGoodMembers())), ::testing::IsEmpty());

  std::ostringstream out;
  ZipWriter writer(out);
  writer.Add("pwa.pwa", Bytes{'<', 'x', '/', '>'}, DosTimestamp{0x6000, 0x5221});
  writer.Add("model/qnet_model.js", Bytes(5000, 'q'), DosTimestamp{0x0001, 0x0021});
  writer.Finish();
  const std::string written = out.str();
  EXPECT_THAT(Check(Bytes(written.begin(), written.end())), ::testing::IsEmpty());
}

struct BrokenCase {
  const char* title;
  std::function<void(RawArchive&)> breakIt;
  const char* member;  // who the report must name ("" for the archive)
  const char* message;  // part of the report
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.title; }

class ArchiveCheckBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ArchiveCheckBroken, ReportsTheViolationWithTheMemberName) {
  RawArchive archive = TwoGoodMembers();
  GetParam().breakIt(archive);
  const auto violations = Check(testing::Build(archive));
  bool found = false;
  for (const auto& v : violations) {
    if (v.member == GetParam().member && v.message.find(GetParam().message) != std::string::npos) found = true;
  }
  EXPECT_TRUE(found) << "expected [" << GetParam().member << "] " << GetParam().message << "\ngot:\n" << Describe(violations);
}

RawMember& Second(RawArchive& a) { return a.members[1]; }
const char* const kSecond = "images/train/a/thumbnail.JPG";

INSTANTIATE_TEST_SUITE_P(
    EachProperty, ArchiveCheckBroken,
    ::testing::Values(
        BrokenCase{"stored", [](RawArchive& a) { Second(a).method = 0; }, kSecond, "compression method 0"},
        BrokenCase{"descriptor", [](RawArchive& a) { Second(a).flags = 0x0808; Second(a).writeDataDescriptor = true; }, kSecond, "data descriptor (flag bit 3)"},
        BrokenCase{"no_utf8_flag", [](RawArchive& a) { Second(a).flags = 0; }, kSecond, "UTF-8 name flag"},
        BrokenCase{"encrypted", [](RawArchive& a) { Second(a).flags = 0x0801; }, kSecond, "encrypted"},
        BrokenCase{"extra_field", [](RawArchive& a) { Second(a).extra = Bytes{0x55, 0x54, 0, 0}; }, kSecond, "extra field of 4 bytes"},
        BrokenCase{"local_extra_only", [](RawArchive& a) { Second(a).localExtra = Bytes{0x55, 0x54, 0, 0}; }, kSecond, "local extra field of 4 bytes"},
        BrokenCase{"member_comment", [](RawArchive& a) { Second(a).comment = "hi"; }, kSecond, "member comment"},
        BrokenCase{"archive_comment", [](RawArchive& a) { a.comment = "made by hand"; }, "", "archive comment"},
        BrokenCase{"directory_entry", [](RawArchive& a) { RawMember d; d.name = "images/"; d.content = {}; a.members.push_back(d); }, "images/", "directory entry"},
        BrokenCase{"backslash", [](RawArchive& a) { Second(a).name = "images\\train\\x.png"; }, "images\\train\\x.png", "backslash"},
        BrokenCase{"leading_slash", [](RawArchive& a) { Second(a).name = "/etc/passwd"; }, "/etc/passwd", "leading slash"},
        BrokenCase{"dot_dot", [](RawArchive& a) { Second(a).name = "images/../../x"; }, "images/../../x", "'..' component"},
        BrokenCase{"not_utf8", [](RawArchive& a) { Second(a).name = "caf\xE9.txt"; }, "central directory entry 2", "not valid UTF-8"},
        BrokenCase{"made_by_unix", [](RawArchive& a) { Second(a).versionMadeBy = 0x031E; }, kSecond, "version made by 0x031E"},
        BrokenCase{"needed_45", [](RawArchive& a) { Second(a).versionNeeded = 45; }, kSecond, "version needed 45"},
        BrokenCase{"unix_attributes", [](RawArchive& a) { Second(a).externalAttributes = 0x81A40000; }, kSecond, "external attributes 0x81A40000"},
        BrokenCase{"internal_attributes", [](RawArchive& a) { Second(a).internalAttributes = 1; }, kSecond, "internal attributes"},
        BrokenCase{"duplicate", [](RawArchive& a) { Second(a).name = "index.html"; }, "index.html", "duplicate member name"},
        BrokenCase{"local_name", [](RawArchive& a) { Second(a).localName = "other.JPG"; }, kSecond, "local header name differs"},
        BrokenCase{"local_crc", [](RawArchive& a) { Second(a).localCrcOverride = 0x1234; }, kSecond, "local header CRC differs"},
        BrokenCase{"wrong_crc", [](RawArchive& a) { Second(a).crcOverride = 0x1234; }, kSecond, "CRC mismatch"},
        BrokenCase{"bad_date", [](RawArchive& a) { Second(a).date = static_cast<std::uint16_t>((41 << 9) | (13 << 5) | 1); }, kSecond, "invalid DOS date"},
        BrokenCase{"prefix", [](RawArchive& a) { a.prefix = Bytes(10, 0); }, "", "does not begin"}),
    [](const ::testing::TestParamInfo<BrokenCase>& p) { return std::string(p.param.title); });

TEST(ArchiveCheck, EveryTruncationIsReportedWithoutReadingPastTheEnd) {
  const Bytes whole = testing::Build(TwoGoodMembers());
  for (std::size_t length = 0; length < whole.size(); ++length) {
    // A copy of exactly `length` bytes, so that sanitizers catch any overread.
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(Check(cut).empty()) << "truncated to " << length << " bytes";
  }
}

TEST(ArchiveCheck, EveryFlippedByteIsNoticed) {
  // Every byte of a template archive is either a checked field, cross-checked
  // between the two headers, or covered by a CRC.
  const Bytes whole = testing::Build(TwoGoodMembers());
  for (std::size_t at = 0; at < whole.size(); ++at) {
    Bytes changed = whole;
    changed[at] ^= 0xFF;
    EXPECT_FALSE(Check(changed).empty()) << "byte " << at << " flipped";
  }
}

TEST(ArchiveCheck, ReportsArchivesThatAreNotZip) {
  const Bytes text{'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p', ' ', 'f', 'i', 'l', 'e', ' ', 'a', 't', ' ', 'a', 'l', 'l', '!', '!'};
  EXPECT_THAT(Describe(Check(text)), ::testing::HasSubstr("no end of central directory record"));
  EXPECT_THAT(Describe(Check(testing::Build(RawArchive{}))), ::testing::HasSubstr("archive holds no members"));
}

TEST(ArchiveCheck, RejectsAMemberThatExpandsBeyondItsDeclaredSize) {
  RawArchive archive = TwoGoodMembers();
  archive.members[0].content = Bytes(100000, 'a');
  Bytes bytes = testing::Build(archive);
  // Shrink the declared size in both headers: a decoder trusting the data
  // would write far more than the directory promised.
  const std::uint32_t declared = 10;
  const auto patch = [&](std::size_t at) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(declared >> (8 * i));
  };
  patch(22);
  const std::size_t directory = bytes.size() - 22 - (46 + 10) - (46 + 28);
  patch(directory + 24);
  EXPECT_THAT(Describe(Check(bytes)), ::testing::HasSubstr("[index.html] deflate data is corrupt or longer than its declared size"));
}

}  // namespace
}  // namespace velmtools
