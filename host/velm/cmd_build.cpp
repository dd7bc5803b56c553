// velm config, velm build, velm publish: the build options and the module's
// Build and Publish All commands.
#include <velmkit/velmkit.h>

#include <iomanip>
#include <ostream>

#include "build_options.h"
#include "commands.h"
#include "entry_runner.h"
#include "open_project.h"
#include "uploader.h"

namespace velmhost {

namespace fs = std::filesystem;

int CommandConfig(const Context& context, const Arguments& arguments) {
  const std::string usage = "velm config DIR [KEY=VALUE...]";
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 1, usage));
  const auto options = BuildOptions(session->MainForm().Ribbon());
  if (arguments.words.size() == 2) {
    for (const auto& option : options) {
      context.out << std::left << std::setw(14) << (option.key.empty() ? "-" : option.key) << std::setw(30)
                  << option.label << std::setw(9) << (option.edit->Enabled() ? "enabled" : "disabled")
                  << option.edit->Text() << '\n';
    }
    return 0;
  }
  DialogAnswers answers(context);
  for (std::size_t i = 2; i < arguments.words.size(); ++i) {
    const std::string& assignment = arguments.words[i];
    const auto equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) throw CommandError("usage: " + usage);
    SetBuildOption(options, assignment.substr(0, equals), assignment.substr(equals + 1));
    context.out << assignment.substr(0, equals) << " = " << assignment.substr(equals + 1) << '\n';
  }
  return 0;
}

int CommandBuild(const Context& context, const Arguments& arguments) {
  if (arguments.words.size() != 2) throw CommandError("usage: velm build DIR");
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 1, "velm build DIR"));
  bool started = false;
  int status = 0;
  std::string failure;
  // Errors must not unwind through the module's code: they are kept and
  // reported once the click returns.
  velmkit::SetTerminalRunner([&](velmkit::TTermWin& terminal) {
    started = true;
    try {
      status = RunEntry({terminal.EntryName(), terminal.ScriptPath(), terminal.WorkingFolder()}, context.out,
                        context.environment, context.velmHome);
    } catch (const std::exception& error) {
      failure = error.what();
    }
  });
  DialogAnswers answers(context);
  try {
    session->Click("&Build");
  } catch (...) {
    velmkit::SetTerminalRunner(nullptr);
    throw;
  }
  velmkit::SetTerminalRunner(nullptr);
  if (!failure.empty()) throw CommandError(failure);
  if (!started) throw CommandError("the module started no build entry (is the build list of pwa.pwa complete?)");
  return status;
}

int CommandPublish(const Context& context, const Arguments& arguments) {
  if (arguments.words.size() != 2) throw CommandError("usage: velm publish DIR [--to TARGET]");
  const auto session = OpenProject(context, arguments, ProjectFolderArgument(arguments, 1, "velm publish DIR"));
  const PublishSettings account = PublishingFromArguments(context, arguments);
  PublishTarget target;
  try {
    target = ResolvePublishTarget(arguments.Option("--to").value_or(""), account, session->Frame().Name(),
                                  context.environment);
  } catch (const std::invalid_argument& error) {
    throw CommandError(error.what());
  }
  // The address the module records on the first success: given, or the
  // default folder's own address.
  std::string base = arguments.Option("--url-base").value_or(context.environment("VELM_PUBLIC_URL_BASE").value_or(""));
  if (base.empty() && !arguments.Option("--to") && target.kind == PublishTarget::Kind::Folder) {
    base = "file://" + target.folder.parent_path().string() + "/";
  }
  session->Form().SetPublicUrlBase(base);

  UploadResult result;
  bool called = false;
  velmkit::SetPublisher([&](const velmkit::TPubFrame&, const std::vector<velmkit::PublishFile>& files) {
    called = true;
    std::vector<UploadFile> uploads;
    for (const auto& file : files) uploads.push_back({file.absolutePath, file.relativePath});
    context.out << "publishing " << uploads.size() << " files to " << DescribeTarget(target) << '\n';
    result = Upload(uploads, target, account);
    return velmkit::PublishResult{result.ok, result.error};
  });
  const std::string urlBefore = session->Frame().PublicUrl();
  DialogAnswers answers(context);
  try {
    session->Click("&Publish All");
  } catch (...) {
    velmkit::SetPublisher(nullptr);
    throw;
  }
  velmkit::SetPublisher(nullptr);
  // The module sets the address on the first success; the host keeps it.
  if (session->Frame().PublicUrl() != urlBefore && !session->Frame().Save(&session->Form())) {
    context.err << "velm: " << session->Frame().DescriptorPath() << ": " << session->Frame().LastError() << '\n';
  }
  if (!called) {
    throw CommandError(session->Frame().LastError().empty() ? "nothing was published"
                                                             : "nothing was published: " + session->Frame().LastError());
  }
  if (!result.ok) throw CommandError("publishing failed: " + result.error);
  return 0;
}

}  // namespace velmhost
