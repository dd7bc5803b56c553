// velm: the command-line host. Loads the module libraries and drives their
// own commands headless: new projects, class folders, imports, build
// options, build, publish and preview.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "commands.h"
#include "module_catalog.h"
#include "module_loader.h"

namespace {

std::filesystem::path DefaultModuleFolder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "modules";
  return (program.parent_path() / ".." / "modules").lexically_normal();
}

}  // namespace

namespace velmhost {

void PrintHelp(std::ostream& out) {
  out << "usage: velm COMMAND [ARGUMENTS] [OPTIONS]\n"
         "\n"
         "  kinds                              list the module libraries: kind, file, component, product\n"
         "  new KIND DIR                       create a project of KIND in DIR (missing or empty)\n"
         "  tree DIR                           show the project tree\n"
         "  class add DIR HOLDER/NAME          create a class folder, e.g. train/cats\n"
         "  class rm DIR HOLDER/NAME [--yes]   remove a class folder (moved to the trash)\n"
         "  import DIR HOLDER/CLASS FILE...    copy example files into a class folder\n"
         "  import DIR FILE...                 text-data projects: copy files into the data folder\n"
         "  config DIR [KEY=VALUE...]          show the build options, or set the epoch counts\n"
         "                                     (keras_epochs, qnet_epochs)\n"
         "  build DIR                          run the project's build entry; exits with its status\n"
         "  publish DIR [--to TARGET]          upload the public files; TARGET is a folder,\n"
         "                                     ftp://host[:port]/dir or ftps://host[:port]/dir\n"
         "  serve DIR | serve --published NAME show a folder at http://127.0.0.1:PORT/\n"
         "\n"
         "options:\n"
         "  --kind KIND        open a project whose pwa.pwa names no module with KIND\n"
         "  --yes              answer Yes to confirmations\n"
         "  --host H --port N --login L --password P\n"
         "                     publishing account (also VELM_PUBLISH_HOST, VELM_PUBLISH_PORT,\n"
         "                     VELM_PUBLISH_LOGIN, VELM_PUBLISH_PASSWORD)\n"
         "  --url-base URL     public address base recorded on the first publish\n"
         "                     (also VELM_PUBLIC_URL_BASE)\n"
         "  --port N           serve: port, 0 for any free one (default 8080)\n"
         "\n"
         "Module libraries are looked up in VELM_MODULE_PATH (':'-separated folders), else in\n"
         "the modules folder beside velm's own. Build scripts get VELM_HOME, VELM_PYTHON,\n"
         "VELM_NODE and NODE_PATH.\n";
}

}  // namespace velmhost

int main(int argc, char** argv) {
  using namespace velmhost;
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(std::cout);
    return words.empty() ? 2 : 0;
  }
  Context context{ProcessEnvironment,
                  ModuleFolders(ProcessEnvironment, DefaultModuleFolder()),
                  ProcessEnvironment("VELM_HOME").value_or(VELM_SOURCE_DIR),
                  std::cin,
                  std::cout,
                  std::cerr,
                  ::isatty(STDIN_FILENO) == 1};
  // Declared before anything a module makes, so that it runs after all of it is gone.
  struct UnloadOnReturn {
    ~UnloadOnReturn() { UnloadModuleLibraries(); }
  } unload;
  using Command = int (*)(const Context&, const Arguments&);
  const std::pair<const char*, Command> commands[] = {
      {"kinds", CommandKinds},   {"new", CommandNew},       {"tree", CommandTree},
      {"class", CommandClass},   {"import", CommandImport}, {"config", CommandConfig},
      {"build", CommandBuild},   {"publish", CommandPublish}, {"serve", CommandServe},
  };
  try {
    const Arguments arguments = ParseArguments(words);
    if (arguments.Flag("--help")) {
      PrintHelp(std::cout);
      return 0;
    }
    for (const auto& [name, command] : commands) {
      if (!arguments.words.empty() && arguments.words[0] == name) return command(context, arguments);
    }
    std::cerr << "velm: unknown command '" << words[0] << "' (see velm --help)\n";
    return 2;
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "velm: " << error.what() << '\n';
    return 1;
  }
}
