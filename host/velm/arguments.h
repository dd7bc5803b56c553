// The command line of `velm`: positional words, options with a value
// (--to X or --to=X) and flags (--yes).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmhost {

struct Arguments {
  std::vector<std::string> words;
  std::map<std::string, std::string> options;
  std::set<std::string> flags;

  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const { return flags.count(name) != 0; }
};

// Throws CommandError for an unknown option or one without its value.
Arguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace velmhost
