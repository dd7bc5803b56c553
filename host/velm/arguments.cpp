#include "arguments.h"

#include "module_catalog.h"

namespace velmhost {

namespace {

const std::set<std::string> kValueOptions = {"--to", "--port", "--host", "--login", "--password", "--url-base", "--kind", "--published"};
const std::set<std::string> kFlags = {"--yes", "--help"};

}  // namespace

std::optional<std::string> Arguments::Option(const std::string& name) const {
  const auto found = options.find(name);
  if (found == options.end()) return std::nullopt;
  return found->second;
}

Arguments ParseArguments(const std::vector<std::string>& arguments) {
  Arguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
      parsed.words.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const auto equals = word.find('=');
    const std::string name = word.substr(0, equals);
    if (kFlags.count(name) != 0 && equals == std::string::npos) {
      parsed.flags.insert(name);
    } else if (kValueOptions.count(name) != 0) {
      if (equals != std::string::npos) {
        parsed.options[name] = word.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        parsed.options[name] = arguments[++i];
      } else {
        throw CommandError(name + " needs a value");
      }
    } else {
      throw CommandError("unknown option " + name + " (see velm --help)");
    }
  }
  return parsed;
}

}  // namespace velmhost
