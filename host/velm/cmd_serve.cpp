// velm serve: the project or a published copy over HTTP on 127.0.0.1.
#include <signal.h>

#include <ostream>

#include "commands.h"
#include "module_catalog.h"
#include "preview_server.h"

namespace velmhost {

namespace fs = std::filesystem;

int CommandServe(const Context& context, const Arguments& arguments) {
  fs::path folder;
  if (const auto published = arguments.Option("--published")) {
    if (arguments.words.size() != 1) throw CommandError("usage: velm serve DIR | velm serve --published NAME");
    if (published->empty() || *published == "." || *published == ".." || published->find('/') != std::string::npos) {
      throw CommandError("'" + *published + "' is no published project name");
    }
    try {
      folder = PublishedRoot(context.environment) / *published;
    } catch (const std::invalid_argument& error) {
      throw CommandError(error.what());
    }
  } else {
    if (arguments.words.size() != 2) throw CommandError("usage: velm serve DIR | velm serve --published NAME");
    folder = fs::absolute(arguments.words[1]).lexically_normal();
  }
  if (!fs::is_directory(folder)) throw CommandError(folder.string() + ": no such folder");

  int port = 8080;
  if (const auto given = arguments.Option("--port")) {
    try {
      std::size_t used = 0;
      port = std::stoi(*given, &used);
      if (used != given->size() || port < 0 || port > 65535) throw std::invalid_argument("port");
    } catch (const std::exception&) {
      throw CommandError("--port takes a number from 0 to 65535");
    }
  }

  // Block the stop signals before the server thread starts, so that only
  // this thread receives them.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  PreviewServer server(folder);
  int bound = 0;
  try {
    bound = server.Start(port);
  } catch (const std::runtime_error& error) {
    throw CommandError(error.what());
  }
  context.out << "serving " << folder.string() << " at http://127.0.0.1:" << bound << "/ (Ctrl-C stops)" << std::endl;
  int received = 0;
  sigwait(&stop, &received);
  server.Stop();
  return 0;
}

}  // namespace velmhost
