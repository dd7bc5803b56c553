// The commands of `velm`. Each returns the exit status and reports faults
// by throwing CommandError.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "arguments.h"
#include "publish_target.h"

namespace velmhost {

struct Context {
  EnvironmentLookup environment;
  std::vector<std::filesystem::path> moduleFolders;
  std::string velmHome;  // the source tree, for the build scripts' runtimes
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive;
};

int CommandKinds(const Context& context, const Arguments& arguments);
int CommandNew(const Context& context, const Arguments& arguments);
int CommandTree(const Context& context, const Arguments& arguments);
int CommandClass(const Context& context, const Arguments& arguments);
int CommandImport(const Context& context, const Arguments& arguments);
int CommandConfig(const Context& context, const Arguments& arguments);
int CommandBuild(const Context& context, const Arguments& arguments);
int CommandPublish(const Context& context, const Arguments& arguments);
int CommandServe(const Context& context, const Arguments& arguments);

void PrintHelp(std::ostream& out);

}  // namespace velmhost
