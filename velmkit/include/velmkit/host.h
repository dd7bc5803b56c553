// What the embedding program (the host, or a test) provides: answers to
// dialogs, running build entries, publishing, and opening addresses.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "velmkit/dialogs.h"
#include "velmkit/pubframe.h"

namespace velmkit {

class TTermWin;

class VELMKIT_API UserInterface {
 public:
  virtual ~UserInterface();
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  virtual int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) = 0;
  virtual void ShowMessage(const std::string& message) = 0;
  // Fills `files` and returns true, or returns false for a cancel.
  virtual bool ExecuteOpenDialog(const TOpenDialog& dialog, std::vector<std::string>& files) = 0;
};

// Answers from queues, in order; an empty queue cancels (input, open dialog)
// or answers mrCancel (message dialog). Records everything it was shown.
class VELMKIT_API ScriptedUserInterface : public UserInterface {
 public:
  ~ScriptedUserInterface() override;
  // std::nullopt scripts a cancel.
  void QueueInput(std::optional<std::string> answer) { FInputs.push_back(std::move(answer)); }
  void QueueAnswer(int modalResult) { FAnswers.push_back(modalResult); }
  void QueueFiles(std::optional<std::vector<std::string>> files) { FFiles.push_back(std::move(files)); }

  struct Shown {
    std::string kind;  // "input", "confirm", "message", "open"
    std::string text;  // prompt (caption and prompt joined by ": "), message, or initial folder
  };
  const std::vector<Shown>& Log() const { return FLog; }
  // The texts of ShowMessage calls, in order.
  std::vector<std::string> Messages() const;

  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) override;
  void ShowMessage(const std::string& message) override;
  bool ExecuteOpenDialog(const TOpenDialog& dialog, std::vector<std::string>& files) override;

 private:
  std::deque<std::optional<std::string>> FInputs;
  std::deque<int> FAnswers;
  std::deque<std::optional<std::vector<std::string>>> FFiles;
  std::vector<Shown> FLog;
};

// Not owned; nullptr restores the default, which cancels every dialog and
// writes messages to standard error.
VELMKIT_API void SetUserInterface(UserInterface* ui);
VELMKIT_API UserInterface& CurrentUserInterface();

// Runs a build entry when its terminal window is activated.
using TerminalRunner = std::function<void(TTermWin& terminal)>;
// Empty: activating a terminal runs nothing.
VELMKIT_API void SetTerminalRunner(TerminalRunner runner);

struct PublishResult {
  bool ok = false;
  std::string error;
};
// Uploads a project's public files.
using Publisher = std::function<PublishResult(const TPubFrame& frame, const std::vector<PublishFile>& files)>;
// Empty: every publish fails with "no publisher".
VELMKIT_API void SetPublisher(Publisher publisher);

// Opens an address in the user's browser. The default runs
// `xdg-open <address>` without a shell and does not report failure.
using AddressOpener = std::function<void(const std::string& address)>;
// Empty restores the default.
VELMKIT_API void SetAddressOpener(AddressOpener opener);
VELMKIT_API void OpenAddress(const std::string& address);

// Restores every hook above to its default (for tests).
VELMKIT_API void ResetHost();

}  // namespace velmkit
