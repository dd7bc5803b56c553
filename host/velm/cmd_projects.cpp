// velm kinds, velm new, velm tree.
#include <velmkit/velmkit.h>

#include <ostream>

#include "commands.h"
#include "open_project.h"
#include "safe_unzip.h"

namespace velmhost {

namespace fs = std::filesystem;

int CommandKinds(const Context& context, const Arguments& arguments) {
  if (arguments.words.size() != 1) throw CommandError("usage: velm kinds");
  const ModuleListing listing = ListModules(context.moduleFolders);
  for (const auto& problem : listing.problems) context.err << "velm: " << problem << '\n';
  if (listing.modules.empty()) {
    std::string searched;
    for (const auto& folder : context.moduleFolders) searched += (searched.empty() ? "" : ":") + folder.string();
    throw CommandError("no module libraries in " + searched + " (set VELM_MODULE_PATH)");
  }
  for (const auto& module : listing.modules) {
    context.out << module.kind << '\t' << module.file.string() << '\t' << module.componentName << '\t'
                << module.productName << '\n';
  }
  return 0;
}

namespace {

bool IsEmptyFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && fs::is_empty(folder, error);
}

// Removes what a failed unpack left, and nothing the person had before.
void Clean(const fs::path& folder, bool created) {
  std::error_code ignored;
  if (created) {
    fs::remove_all(folder, ignored);
    return;
  }
  for (const auto& entry : fs::directory_iterator(folder, ignored)) fs::remove_all(entry.path(), ignored);
}

}  // namespace

int CommandNew(const Context& context, const Arguments& arguments) {
  if (arguments.words.size() != 3) throw CommandError("usage: velm new KIND DIR");
  const ModuleInfo module = FindModule(context.moduleFolders, arguments.words[1]);
  const fs::path folder = fs::absolute(arguments.words[2]).lexically_normal();
  const bool created = !fs::exists(folder);
  if (!created && !IsEmptyFolder(folder)) throw CommandError(folder.string() + ": exists and is not an empty folder");

  velmkit::ModuleResources resources;
  try {
    resources = velmkit::ReadModuleResources(module.file.string());
  } catch (const std::exception& error) {
    throw CommandError(error.what());
  }
  if (!resources.hasPwaApp) throw CommandError(module.file.string() + ": carries no project template");
  try {
    UnzipInto(resources.pwaApp, folder);
  } catch (const std::exception& error) {
    Clean(folder, created);
    throw CommandError(module.file.string() + ": template: " + error.what());
  }

  Arguments withKind = arguments;
  withKind.options["--kind"] = module.kind;
  std::unique_ptr<ProjectSession> session;
  try {
    session = OpenProject(context, withKind, folder);
  } catch (const CommandError&) {
    Clean(folder, created);
    throw;
  }
  // The descriptor must name the library that serves the project; a
  // template shared by several modules names none.
  const std::string library = module.kind + ".dll";
  if (session->Frame().PluginModule() != library) {
    session->Frame().SetPluginModule(library);
    if (!session->Frame().Save(&session->Form())) {
      throw CommandError(session->Frame().DescriptorPath() + ": " + session->Frame().LastError());
    }
  }
  context.out << "created " << module.kind << " project in " << folder.string() << '\n';
  PrintTree(*session, context.out);
  return 0;
}

int CommandTree(const Context& context, const Arguments& arguments) {
  if (arguments.words.size() != 2) throw CommandError("usage: velm tree DIR");
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 1, "velm tree DIR"));
  PrintTree(*session, context.out);
  return 0;
}

}  // namespace velmhost
