// What the project commands share: opening a project with the publishing
// settings of the command line and environment, and showing its tree.
#pragma once

#include <memory>
#include <ostream>

#include "commands.h"
#include "console_user_interface.h"
#include "project_session.h"

namespace velmhost {

PublishSettings PublishingFromArguments(const Context& context, const Arguments& arguments);

// The project folder named by word `index` of the command; throws
// CommandError with `usage` when the word is missing.
std::filesystem::path ProjectFolderArgument(const Arguments& arguments, std::size_t index, const std::string& usage);

std::unique_ptr<ProjectSession> OpenProject(const Context& context, const Arguments& arguments,
                                            const std::filesystem::path& folder);

// Installs a console user interface for the lifetime of this object.
class DialogAnswers {
 public:
  explicit DialogAnswers(const Context& context);
  ~DialogAnswers();
  ConsoleUserInterface& ui() { return ui_; }

 private:
  ConsoleUserInterface ui_;
};

// One line per tree node, indented by depth: caption, item class, the file
// or folder relative to the project, and "(missing)" when it does not exist.
void PrintTree(const ProjectSession& session, std::ostream& out);

}  // namespace velmhost
