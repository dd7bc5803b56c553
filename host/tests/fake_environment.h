// An environment for tests: only the variables a test names.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "publish_target.h"

namespace velmhost::testing {

inline EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> variables) {
  return [variables](const std::string& name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

}  // namespace velmhost::testing
