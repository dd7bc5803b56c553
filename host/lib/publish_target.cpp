#include "publish_target.h"

#include <cstdlib>
#include <stdexcept>

namespace velmhost {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

int ParsePort(const std::string& text) {
  std::size_t used = 0;
  int port = 0;
  try {
    port = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || port < 1 || port > 65535) {
    throw std::invalid_argument("publishing port '" + text + "' is not a number from 1 to 65535");
  }
  return port;
}

std::string WithTrailingSlash(std::string url) {
  // ftp://host has no path at all; the account's home folder is meant.
  const auto authorityEnd = url.find('/', url.find("://") + 3);
  if (authorityEnd == std::string::npos) return url + "/";
  if (url.back() != '/') url += '/';
  return url;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

PublishSettings ApplyPublishOverrides(PublishSettings settings, const PublishOverrides& commandLine,
                                      const EnvironmentLookup& environment) {
  const auto pick = [&](const std::optional<std::string>& given, const char* variable) -> std::optional<std::string> {
    if (given) return given;
    return environment(variable);
  };
  if (auto host = pick(commandLine.host, "VELM_PUBLISH_HOST")) settings.host = *host;
  if (auto port = pick(commandLine.port, "VELM_PUBLISH_PORT")) settings.port = ParsePort(*port);
  if (auto login = pick(commandLine.login, "VELM_PUBLISH_LOGIN")) settings.login = *login;
  if (auto password = pick(commandLine.password, "VELM_PUBLISH_PASSWORD")) settings.password = *password;
  if (settings.port < 1 || settings.port > 65535) settings.port = 21;
  return settings;
}

std::filesystem::path PublishedRoot(const EnvironmentLookup& environment) {
  std::filesystem::path data;
  const auto xdg = environment("XDG_DATA_HOME");
  if (xdg && !xdg->empty() && (*xdg)[0] == '/') {
    data = *xdg;
  } else {
    const auto home = environment("HOME");
    if (!home || home->empty()) throw std::invalid_argument("neither XDG_DATA_HOME nor HOME is set; give a target with --to");
    data = std::filesystem::path(*home) / ".local" / "share";
  }
  return data / "velm" / "published";
}

PublishTarget ResolvePublishTarget(const std::string& to, const PublishSettings& settings,
                                   const std::string& projectName, const EnvironmentLookup& environment) {
  PublishTarget target;
  target.caFile = environment("VELM_PUBLISH_CA").value_or("");
  if (!to.empty()) {
    if (StartsWith(to, "ftp://")) {
      target.kind = PublishTarget::Kind::Ftp;
      target.url = WithTrailingSlash(to);
    } else if (StartsWith(to, "ftps://")) {
      // ftps:// in curl means implicit TLS; servers today speak explicit TLS
      // (AUTH TLS) on the ordinary port, so the address is rewritten.
      target.kind = PublishTarget::Kind::Ftp;
      target.url = WithTrailingSlash("ftp://" + to.substr(7));
      target.explicitTls = true;
    } else if (to.find("://") != std::string::npos) {
      throw std::invalid_argument("publishing target '" + to + "': only ftp://, ftps:// or a folder");
    } else {
      target.folder = std::filesystem::absolute(to);
    }
    return target;
  }
  if (projectName.empty() || projectName == "." || projectName == ".." || projectName.find('/') != std::string::npos) {
    throw std::invalid_argument("project name '" + projectName + "' cannot name a publishing folder");
  }
  if (!settings.host.empty()) {
    target.kind = PublishTarget::Kind::Ftp;
    target.url = "ftp://" + settings.host + ":" + std::to_string(settings.port) + "/" + projectName + "/";
    return target;
  }
  target.folder = PublishedRoot(environment) / projectName;
  return target;
}

std::string DescribeTarget(const PublishTarget& target) {
  if (target.kind == PublishTarget::Kind::Folder) return target.folder.string();
  std::string url = target.url;
  // A password written into the address stays out of messages.
  const auto authority = url.find("://") + 3;
  const auto at = url.find('@', authority);
  const auto slash = url.find('/', authority);
  if (at != std::string::npos && (slash == std::string::npos || at < slash)) url.erase(authority, at + 1 - authority);
  if (target.explicitTls) url.replace(0, 3, "ftps");
  return url;
}

}  // namespace velmhost
