#include "preview_server.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "temp_folder.h"

namespace velmhost {
namespace {

namespace fs = std::filesystem;
using velmtools::testing::TempFolder;

TEST(ContentType, ServesTheTypesBrowsersInsistOn) {
  const std::pair<const char*, const char*> cases[] = {
      {"tfjs-backend-wasm.wasm", "application/wasm"},
      {"model/model.json", "application/json"},
      {"model/group1-shard1of1.bin", "application/octet-stream"},
      {"static/js/main.1a2b.chunk.js", "text/javascript; charset=utf-8"},
      {"manifest.json", "application/manifest+json"},
      {"public/manifest.json", "application/manifest+json"},
      {"app.webmanifest", "application/manifest+json"},
      {"INDEX.HTML", "text/html; charset=utf-8"},
      {"thumbnail.JPG", "image/jpeg"},
      {"test.wav", "audio/wav"},
      {"no-extension", "application/octet-stream"},
  };
  for (const auto& [name, type] : cases) EXPECT_EQ(ContentTypeFor(name), type) << name;
}

// Sends a request line as written, without any client-side clean-up of the path.
std::string RawGet(int port, const std::string& target) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return "";
  }
  const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  (void)::write(fd, request.data(), request.size());
  std::string response;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) response.append(buffer, static_cast<std::size_t>(got));
  ::close(fd);
  return response;
}

class Preview : public ::testing::Test {
 protected:
  void SetUp() override {
    work.Write("site/index.html", "<h1>demo</h1>");
    work.Write("site/model/model.json", "{\"format\":\"layers-model\"}");
    work.Write("site/static/js/app.js", "console.log(1)");
    work.Write("secret.txt", "outside the site");
    fs::create_symlink(work.path() / "secret.txt", work.path() / "site" / "link.txt");
    server = std::make_unique<PreviewServer>(work.path() / "site");
    port = server->Start(0);
  }

  TempFolder work;
  std::unique_ptr<PreviewServer> server;
  int port = 0;
};

TEST_F(Preview, ServesFilesWithTheirTypes) {
  httplib::Client client("127.0.0.1", port);
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/", "<h1>demo</h1>", "text/html; charset=utf-8"},
      {"/model/model.json", "{\"format\":\"layers-model\"}", "application/json"},
      {"/static/js/app.js", "console.log(1)", "text/javascript; charset=utf-8"},
      {"/static/js/app.js?v=2", "console.log(1)", "text/javascript; charset=utf-8"},
  };
  for (const auto& [path, body, type] : cases) {
    const auto response = client.Get(path);
    ASSERT_TRUE(response) << path;
    EXPECT_EQ(response->status, 200) << path;
    EXPECT_EQ(response->body, body) << path;
    EXPECT_EQ(response->get_header_value("Content-Type"), type) << path;
  }
  const auto missing = client.Get("/nothing.js");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
}

TEST_F(Preview, NeverServesAnythingOutsideItsFolder) {
  for (const char* target : {"/../secret.txt", "/static/../../secret.txt", "/%2e%2e/secret.txt",
                             "/static/%2E%2E/%2e%2e/secret.txt", "/..%2fsecret.txt", "/..%5csecret.txt", "/link.txt"}) {
    const std::string response = RawGet(port, target);
    EXPECT_THAT(response, ::testing::Not(::testing::HasSubstr("outside the site"))) << target;
    EXPECT_THAT(response, ::testing::StartsWith("HTTP/1.1 4")) << target;
  }
}

TEST_F(Preview, StopsOnRequest) {
  server->Stop();
  httplib::Client client("127.0.0.1", port);
  EXPECT_FALSE(client.Get("/"));
}

TEST(PreviewPort, RefusesAPortInUse) {
  TempFolder work;
  work.Write("index.html", "x");
  PreviewServer first(work.path());
  const int port = first.Start(0);
  PreviewServer second(work.path());
  EXPECT_THROW(second.Start(port), std::runtime_error);
}

}  // namespace
}  // namespace velmhost
