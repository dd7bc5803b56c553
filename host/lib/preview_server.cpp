#include "preview_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace velmhost {

namespace fs = std::filesystem;

std::string ContentTypeFor(const std::string& fileName) {
  static const std::map<std::string, std::string> kTypes = {
      {".html", "text/html; charset=utf-8"},   {".htm", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"}, {".mjs", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},     {".json", "application/json"},
      {".webmanifest", "application/manifest+json"}, {".wasm", "application/wasm"},
      {".bin", "application/octet-stream"},    {".png", "image/png"},
      {".jpg", "image/jpeg"},                  {".jpeg", "image/jpeg"},
      {".gif", "image/gif"},                   {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},                {".wav", "audio/wav"},
      {".mp3", "audio/mpeg"},                  {".ttf", "font/ttf"},
      {".woff", "font/woff"},                  {".woff2", "font/woff2"},
      {".txt", "text/plain; charset=utf-8"},   {".csv", "text/csv; charset=utf-8"},
      {".map", "application/json"},            {".yml", "text/yaml; charset=utf-8"},
  };
  if (fs::path(fileName).filename() == "manifest.json") return "application/manifest+json";
  std::string extension = fs::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto found = kTypes.find(extension);
  return found == kTypes.end() ? "application/octet-stream" : found->second;
}

namespace {

// The file under `root` that a request path names, or nothing when the path
// would leave the root (by "..", a backslash, or a link pointing outside).
std::optional<fs::path> Resolve(const fs::path& root, const std::string& requestPath) {
  if (requestPath.empty() || requestPath[0] != '/') return std::nullopt;
  if (requestPath.find('\0') != std::string::npos || requestPath.find('\\') != std::string::npos) return std::nullopt;
  fs::path relative;
  std::stringstream parts(requestPath.substr(1));
  std::string part;
  while (std::getline(parts, part, '/')) {
    if (part == "..") return std::nullopt;
    if (part.empty() || part == ".") continue;
    relative /= part;
  }
  fs::path file = root / relative;
  std::error_code error;
  if (fs::is_directory(file, error)) file /= "index.html";
  const fs::path real = fs::weakly_canonical(file, error);
  if (error) return std::nullopt;
  const fs::path inside = real.lexically_relative(root);
  if (inside.empty() || *inside.begin() == "..") return std::nullopt;
  return real;
}

}  // namespace

PreviewServer::PreviewServer(fs::path root) : root_(fs::canonical(root)), server_(std::make_unique<httplib::Server>()) {
  // The library's default adds SO_REUSEPORT, which lets a second server bind
  // the same port and take over part of the requests unnoticed.
  server_->set_socket_options([](int socket) {
    int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server_->Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
    const auto file = Resolve(root_, request.path);
    if (!file) {
      response.status = 403;
      response.set_content("Forbidden\n", "text/plain");
      return;
    }
    std::ifstream in(*file, std::ios::binary);
    if (!in || !fs::is_regular_file(*file)) {
      response.status = 404;
      response.set_content("Not found\n", "text/plain");
      return;
    }
    std::ostringstream content;
    content << in.rdbuf();
    // A preview must show the files as they are now, not a cached copy.
    response.set_header("Cache-Control", "no-store");
    response.set_content(content.str(), ContentTypeFor(file->string()).c_str());
  });
}

PreviewServer::~PreviewServer() { Stop(); }

int PreviewServer::Start(int port) {
  int bound = -1;
  if (port == 0) {
    bound = server_->bind_to_any_port("127.0.0.1");
  } else if (server_->bind_to_port("127.0.0.1", port)) {
    bound = port;
  }
  if (bound < 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // This version has no way to wait until the loop runs; poll for it.
  for (int i = 0; i < 500 && !server_->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return bound;
}

void PreviewServer::Stop() {
  if (server_) server_->stop();
  Wait();
}

void PreviewServer::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace velmhost
