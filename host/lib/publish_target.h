// Where `velm publish` uploads a project's public files, and with which
// account: a local folder, or an FTP server (plain or with explicit TLS).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace velmhost {

struct PublishSettings {
  std::string host;
  int port = 21;
  std::string login;
  std::string password;
};

// Values given on the command line win over the environment
// (VELM_PUBLISH_HOST, VELM_PUBLISH_PORT, VELM_PUBLISH_LOGIN,
// VELM_PUBLISH_PASSWORD), which wins over the form's settings.
struct PublishOverrides {
  std::optional<std::string> host;
  std::optional<std::string> port;
  std::optional<std::string> login;
  std::optional<std::string> password;
};

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;
// The process environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// Throws std::invalid_argument for a port that is not a number in 1..65535.
PublishSettings ApplyPublishOverrides(PublishSettings settings, const PublishOverrides& commandLine,
                                      const EnvironmentLookup& environment);

struct PublishTarget {
  enum class Kind { Folder, Ftp };
  Kind kind = Kind::Folder;
  std::filesystem::path folder;  // Kind::Folder
  std::string url;               // Kind::Ftp: ftp://host:port/dir/ (ends in '/')
  bool explicitTls = false;      // ftps:// given: AUTH TLS on the control port
  std::string caFile;            // certificates to trust besides the system's (VELM_PUBLISH_CA)
};

// `to` as given with --to: an ftp:// or ftps:// address, or a folder. Without
// one: the FTP server of `settings` when it names a host, else the folder
// $XDG_DATA_HOME/velm/published/<projectName>/. Throws std::invalid_argument
// for another scheme or a project name that is no plain folder name.
// VELM_PUBLISH_CA names a PEM file of certificates to trust for ftps://.
PublishTarget ResolvePublishTarget(const std::string& to, const PublishSettings& settings,
                                   const std::string& projectName, const EnvironmentLookup& environment);

// Default folder for published projects: $XDG_DATA_HOME/velm/published
// ($HOME/.local/share when XDG_DATA_HOME is unset or relative).
std::filesystem::path PublishedRoot(const EnvironmentLookup& environment);

// Where a target is, for messages: never shows a password.
std::string DescribeTarget(const PublishTarget& target);

}  // namespace velmhost
