// velm class add|rm and velm import: the module's class commands, driven
// through its ribbon as a person would click them.
#include <velmkit/velmkit.h>

#include <ostream>
#include <set>

#include "commands.h"
#include "open_project.h"

namespace velmhost {

namespace fs = std::filesystem;

namespace {

int CountChildrenNamed(const velmkit::TVelmContainer& parent, const std::string& name) {
  int count = 0;
  for (int i = 0; i < parent.Count(); ++i) {
    const auto* child = dynamic_cast<const velmkit::TVelmContainer*>(parent.At(i));
    if (child != nullptr && child->Name() == name) ++count;
  }
  return count;
}

int AddClass(const Context& context, const Arguments& arguments) {
  const std::string usage = "velm class add DIR HOLDER/NAME (e.g. train/cats)";
  if (arguments.words.size() != 4) throw CommandError("usage: " + usage);
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 2, usage));
  const std::string& path = arguments.words[3];
  const auto slash = path.rfind('/');
  if (slash == std::string::npos || slash + 1 == path.size()) throw CommandError("usage: " + usage);
  const std::string name = path.substr(slash + 1);
  velmkit::TVelmContainer& holder = session->FindItem(path.substr(0, slash));

  DialogAnswers answers(context);
  answers.ui().QueueInput(name);
  session->Select(holder);
  const int before = CountChildrenNamed(holder, name);
  session->Click("Create &Class");
  if (CountChildrenNamed(holder, name) == before) {
    throw CommandError("the module created no class '" + name + "' under '" + holder.Name() + "'");
  }
  context.out << "created class " << path << '\n';
  return 0;
}

int RemoveClass(const Context& context, const Arguments& arguments) {
  const std::string usage = "velm class rm DIR HOLDER/NAME [--yes]";
  if (arguments.words.size() != 4) throw CommandError("usage: " + usage);
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 2, usage));
  velmkit::TVelmContainer& item = session->FindItem(arguments.words[3]);
  velmkit::TVelmContainer* parent = item.GetParent();

  DialogAnswers answers(context);
  answers.ui().SetAssumeYes(arguments.Flag("--yes"));
  session->Select(item);
  session->Click("&Remove Class");
  if (parent != nullptr && parent->IndexOf(&item) >= 0) {
    context.out << "class " << arguments.words[3] << " kept\n";
    return 1;
  }
  context.out << "removed class " << arguments.words[3] << " (its folder is in the trash)\n";
  return 0;
}

}  // namespace

int CommandClass(const Context& context, const Arguments& arguments) {
  const std::string action = arguments.words.size() > 1 ? arguments.words[1] : "";
  if (action == "add") return AddClass(context, arguments);
  if (action == "rm") return RemoveClass(context, arguments);
  throw CommandError("usage: velm class add|rm DIR HOLDER/NAME");
}

int CommandImport(const Context& context, const Arguments& arguments) {
  const std::string usage = "velm import DIR [HOLDER/CLASS] FILE...";
  if (arguments.words.size() < 3) throw CommandError("usage: " + usage);
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 1, usage));
  // Modules with class folders import into the selected class; the text-data
  // modules (no Create Class) into their fixed data folder.
  const bool classModule = session->RibbonItem("Create &Class") != nullptr;
  std::size_t firstFile = 2;
  if (classModule) {
    if (arguments.words.size() < 4) throw CommandError("usage: velm import DIR HOLDER/CLASS FILE...");
    session->Select(session->FindItem(arguments.words[2]));
    firstFile = 3;
  }
  std::vector<std::string> files;
  for (std::size_t i = firstFile; i < arguments.words.size(); ++i) {
    const fs::path file = fs::absolute(arguments.words[i]).lexically_normal();
    if (!fs::is_regular_file(file)) throw CommandError(arguments.words[i] + ": no such file");
    files.push_back(file.string());
  }

  DialogAnswers answers(context);
  answers.ui().QueueFiles(files);
  session->Click("&Open Class");
  const auto& shown = answers.ui().LastOpenDialog();
  if (!shown) throw CommandError("the module opened no file dialog (is the destination folder missing?)");
  int copied = 0;
  std::set<fs::path> landed;
  for (std::size_t i = 0; i < shown->files.size(); ++i) {
    const fs::path name = fs::path(shown->files[i]).filename();
    std::error_code error;
    const bool present = fs::exists(fs::path(shown->folder) / name, error);
    const char* why = nullptr;
    if (shown->existedBefore[i]) {
      why = "already there";
    } else if (!present) {
      why = "not copied";
    } else if (!landed.insert(name).second) {
      why = "an earlier file has the same name";
    }
    if (why == nullptr) {
      ++copied;
    } else {
      context.out << "skipped " << shown->files[i] << " (" << why << ")\n";
    }
  }
  context.out << "imported " << copied << " of " << shown->files.size() << " files into " << shown->folder << '\n';
  return copied == static_cast<int>(shown->files.size()) ? 0 : 1;
}

}  // namespace velmhost
