#include <iostream>

#include "host_hooks.h"
#include "velmkit/host.h"

namespace velmkit {
namespace {

// Without a user interface nobody can answer: every dialog is cancelled, and
// messages still reach the person at the terminal.
class CancellingUserInterface final : public UserInterface {
 public:
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  int MessageDlg(const std::string& message, TMsgDlgType, TMsgDlgButtons, int) override {
    std::cerr << message << '\n';
    return mrCancel;
  }
  void ShowMessage(const std::string& message) override { std::cerr << message << '\n'; }
  bool ExecuteOpenDialog(const TOpenDialog&, std::vector<std::string>&) override { return false; }
};

struct Hooks {
  CancellingUserInterface fallback;
  UserInterface* ui = nullptr;
  TerminalRunner runner;
  Publisher publisher;
  AddressOpener opener;
};

Hooks& TheHooks() {
  static Hooks hooks;
  return hooks;
}

}  // namespace

UserInterface::~UserInterface() = default;
ScriptedUserInterface::~ScriptedUserInterface() = default;

std::vector<std::string> ScriptedUserInterface::Messages() const {
  std::vector<std::string> messages;
  for (const Shown& shown : FLog) {
    if (shown.kind == "message") messages.push_back(shown.text);
  }
  return messages;
}

bool ScriptedUserInterface::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  FLog.push_back({"input", caption + ": " + prompt});
  if (FInputs.empty()) return false;
  std::optional<std::string> answer = std::move(FInputs.front());
  FInputs.pop_front();
  if (!answer) return false;
  value = *answer;
  return true;
}

int ScriptedUserInterface::MessageDlg(const std::string& message, TMsgDlgType, TMsgDlgButtons, int) {
  FLog.push_back({"confirm", message});
  if (FAnswers.empty()) return mrCancel;
  int answer = FAnswers.front();
  FAnswers.pop_front();
  return answer;
}

void ScriptedUserInterface::ShowMessage(const std::string& message) { FLog.push_back({"message", message}); }

bool ScriptedUserInterface::ExecuteOpenDialog(const TOpenDialog& dialog, std::vector<std::string>& files) {
  FLog.push_back({"open", dialog.InitialDir()});
  if (FFiles.empty()) return false;
  std::optional<std::vector<std::string>> answer = std::move(FFiles.front());
  FFiles.pop_front();
  if (!answer) return false;
  files = *answer;
  return true;
}

void SetUserInterface(UserInterface* ui) { TheHooks().ui = ui; }

UserInterface& CurrentUserInterface() {
  Hooks& hooks = TheHooks();
  return hooks.ui != nullptr ? *hooks.ui : hooks.fallback;
}

void SetTerminalRunner(TerminalRunner runner) { TheHooks().runner = std::move(runner); }
void SetPublisher(Publisher publisher) { TheHooks().publisher = std::move(publisher); }
void SetAddressOpener(AddressOpener opener) { TheHooks().opener = std::move(opener); }

void OpenAddress(const std::string& address) {
  const AddressOpener& opener = TheHooks().opener;
  if (opener) {
    opener(address);
  } else {
    hooks::OpenWithDesktop(address);
  }
}

void ResetHost() {
  Hooks& hooks = TheHooks();
  hooks.ui = nullptr;
  hooks.runner = nullptr;
  hooks.publisher = nullptr;
  hooks.opener = nullptr;
}

namespace hooks {
const TerminalRunner& Runner() { return TheHooks().runner; }
const Publisher& PublisherHook() { return TheHooks().publisher; }
}  // namespace hooks

}  // namespace velmkit
