#include "open_project.h"

#include <velmkit/velmkit.h>

namespace velmhost {

namespace fs = std::filesystem;

PublishSettings PublishingFromArguments(const Context& context, const Arguments& arguments) {
  PublishOverrides commandLine{arguments.Option("--host"), arguments.Option("--port"), arguments.Option("--login"),
                               arguments.Option("--password")};
  try {
    return ApplyPublishOverrides({}, commandLine, context.environment);
  } catch (const std::invalid_argument& error) {
    throw CommandError(error.what());
  }
}

fs::path ProjectFolderArgument(const Arguments& arguments, std::size_t index, const std::string& usage) {
  if (arguments.words.size() <= index) throw CommandError("usage: " + usage);
  return fs::absolute(arguments.words[index]).lexically_normal();
}

std::unique_ptr<ProjectSession> OpenProject(const Context& context, const Arguments& arguments, const fs::path& folder) {
  return std::make_unique<ProjectSession>(folder, context.moduleFolders, arguments.Option("--kind"),
                                          PublishingFromArguments(context, arguments), "");
}

DialogAnswers::DialogAnswers(const Context& context) : ui_(context.in, context.out, context.interactive) {
  velmkit::SetUserInterface(&ui_);
}

DialogAnswers::~DialogAnswers() { velmkit::SetUserInterface(nullptr); }

namespace {

void PrintNode(const velmkit::TVelmTreeNode& node, const fs::path& project, int depth, std::ostream& out) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.Caption();
  if (const auto* item = dynamic_cast<const velmkit::TVelmContainer*>(node.GetObj())) {
    out << " [" << item->ClassName() << "]";
    const std::string location = ItemLocation(*item);
    if (!location.empty() && dynamic_cast<const velmkit::TPubFrame*>(item) == nullptr) {
      const fs::path relative = fs::path(location).lexically_relative(project);
      out << " " << (relative.empty() ? location : relative.generic_string());
      std::error_code error;
      if (!fs::exists(location, error)) out << " (missing)";
    }
  }
  out << '\n';
  for (int i = 0; i < node.Count(); ++i) PrintNode(*node.Child(i), project, depth + 1, out);
}

}  // namespace

void PrintTree(const ProjectSession& session, std::ostream& out) {
  const fs::path project = session.Frame().ProjectFolder();
  for (int i = 0; i < session.Tree().TopCount(); ++i) PrintNode(*session.Tree().Top(i), project, 0, out);
}

}  // namespace velmhost
