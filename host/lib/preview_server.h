// A small HTTP server that shows a project or a published folder in the
// browser, on the loopback interface only.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace velmhost {

// The Content-Type for a file name, by its extension (letter case ignored).
std::string ContentTypeFor(const std::string& fileName);

class PreviewServer {
 public:
  explicit PreviewServer(std::filesystem::path root);
  ~PreviewServer();
  PreviewServer(const PreviewServer&) = delete;
  PreviewServer& operator=(const PreviewServer&) = delete;

  // Binds to 127.0.0.1:`port` (0: any free port), starts serving in the
  // background and returns the port. Throws std::runtime_error when the
  // address cannot be bound.
  int Start(int port);
  void Stop();
  // Blocks until the server stops.
  void Wait();

 private:
  std::filesystem::path root_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
};

}  // namespace velmhost
