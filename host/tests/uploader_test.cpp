#include "uploader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "ftp_server.h"
#include "temp_folder.h"

namespace velmhost {
namespace {

namespace fs = std::filesystem;
using testing::FtpServer;
using velmtools::testing::ReadFile;
using velmtools::testing::TempFolder;

// A small project with nested public files, one with a blank in its name.
std::vector<UploadFile> FixtureFiles(const TempFolder& project) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"index.html", "<html>demo</html>"},
      {"model/qnet_model.js", "export default [0.5, -1.25];\n"},
      {"model/group1-shard1of1.bin", std::string("\x00\x01\x02\xFF", 4)},
      {"static/media/Montserrat Bold.ttf", "font"},
  };
  std::vector<UploadFile> uploads;
  for (const auto& [name, content] : files) uploads.push_back({project.Write(name, content).string(), name});
  return uploads;
}

void ExpectSameFiles(const std::vector<UploadFile>& files, const fs::path& root) {
  for (const auto& file : files) {
    EXPECT_EQ(ReadFile(root / file.relativePath), ReadFile(file.absolutePath)) << file.relativePath;
  }
}

TEST(UploadToFolder, CopiesEveryFileAndReplacesOlderCopies) {
  TempFolder project;
  TempFolder site;
  const auto files = FixtureFiles(project);
  site.Write("index.html", "old page");
  PublishTarget target;
  target.folder = site.path() / "demo";
  site.Write("demo/index.html", "old page");

  const auto result = Upload(files, target, {});

  ASSERT_TRUE(result.ok) << result.error;
  ExpectSameFiles(files, target.folder);
}

TEST(Upload, RefusesUnsafePathsBeforeSendingAnything) {
  TempFolder project;
  TempFolder site;
  auto files = FixtureFiles(project);
  files.push_back({files[0].absolutePath, "../outside.html"});
  PublishTarget target;
  target.folder = site.path() / "demo";

  const auto result = Upload(files, target, {});

  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, ::testing::HasSubstr("../outside.html: unsafe publishing path"));
  EXPECT_FALSE(fs::exists(site.path() / "demo"));
  EXPECT_FALSE(fs::exists(site.path() / "outside.html"));
}

class UploadToFtp : public ::testing::Test {
 protected:
  TempFolder project;
  TempFolder serverRoot;
  FtpServer server{serverRoot.path(), "ann", "right-password"};

  PublishTarget Target() const {
    PublishTarget target;
    target.kind = PublishTarget::Kind::Ftp;
    target.url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/sites/demo/";
    return target;
  }
};

TEST_F(UploadToFtp, UploadsIntoNewRemoteFolders) {
  ASSERT_GT(server.port(), 0) << "python3-pyftpdlib missing?";
  const auto files = FixtureFiles(project);

  const auto result = Upload(files, Target(), {"", 0, "ann", "right-password"});

  ASSERT_TRUE(result.ok) << result.error;
  ExpectSameFiles(files, serverRoot.path() / "sites" / "demo");
}

TEST_F(UploadToFtp, WrongPasswordFailsWithCurlsMessageAndNoPassword) {
  ASSERT_GT(server.port(), 0) << "python3-pyftpdlib missing?";
  const auto files = FixtureFiles(project);

  const auto result = Upload(files, Target(), {"", 0, "ann", "wrong-password"});

  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, ::testing::HasSubstr("index.html: Access denied: 530"));
  EXPECT_THAT(result.error, ::testing::Not(::testing::HasSubstr("wrong-password")));
  EXPECT_FALSE(fs::exists(serverRoot.path() / "sites"));
}

// A self-signed certificate for 127.0.0.1, with its key, in one PEM file.
std::string MakeCertificate(const TempFolder& folder) {
  const auto pem = folder.path() / "server.pem";
  const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                              "-addext subjectAltName=IP:127.0.0.1 -keyout '" + pem.string() + "' -out '" +
                              pem.string() + ".crt' >/dev/null 2>&1 && cat '" + pem.string() + ".crt' >> '" +
                              pem.string() + "'";
  return std::system(command.c_str()) == 0 ? pem.string() : "";
}

TEST(UploadToFtps, EncryptsAndChecksTheServersCertificate) {
  TempFolder project;
  TempFolder serverRoot;
  TempFolder keys;
  const std::string certificate = MakeCertificate(keys);
  ASSERT_FALSE(certificate.empty()) << "openssl failed";
  FtpServer server(serverRoot.path(), "ann", "right-password", certificate);
  ASSERT_GT(server.port(), 0) << "python3-pyftpdlib or python3-openssl missing?";
  const auto files = FixtureFiles(project);
  PublishTarget target;
  target.kind = PublishTarget::Kind::Ftp;
  target.url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/secure/";
  target.explicitTls = true;

  // Unknown issuer: refused before the password is sent.
  const auto untrusted = Upload(files, target, {"", 0, "ann", "right-password"});
  EXPECT_FALSE(untrusted.ok);
  EXPECT_THAT(untrusted.error, ::testing::HasSubstr("certificate"));

  target.caFile = certificate + ".crt";
  const auto trusted = Upload(files, target, {"", 0, "ann", "right-password"});
  ASSERT_TRUE(trusted.ok) << trusted.error;
  ExpectSameFiles(files, serverRoot.path() / "secure");
}

TEST(UploadToFtpServerDown, ReportsTheConnectionFailure) {
  TempFolder project;
  PublishTarget target;
  target.kind = PublishTarget::Kind::Ftp;
  target.url = "ftp://127.0.0.1:1/demo/";
  const auto result = Upload(FixtureFiles(project), target, {});
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, ::testing::HasSubstr("index.html: "));
  EXPECT_THAT(result.error, ::testing::HasSubstr("onnect"));
}

}  // namespace
}  // namespace velmhost
