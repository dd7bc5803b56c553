// Answers the module's dialogs from the command line: the answers given as
// arguments first, then, on a terminal, by asking the person; otherwise the
// dialog is cancelled.
#pragma once

#include <velmkit/host.h>

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace velmhost {

class ConsoleUserInterface : public velmkit::UserInterface {
 public:
  ConsoleUserInterface(std::istream& in, std::ostream& out, bool interactive);
  ~ConsoleUserInterface() override;

  void QueueInput(const std::string& answer) { inputs_.push_back(answer); }
  void QueueFiles(const std::vector<std::string>& files) { files_.push_back(files); }
  // Confirmations are answered Yes without asking.
  void SetAssumeYes(bool yes) { assumeYes_ = yes; }

  const std::vector<std::string>& Messages() const { return messages_; }

  // What the last open dialog was shown: its initial folder, and which of
  // the files handed to it were already in that folder at that moment.
  struct OpenDialogShown {
    std::string folder;
    std::vector<std::string> files;
    std::vector<bool> existedBefore;
  };
  const std::optional<OpenDialogShown>& LastOpenDialog() const { return lastOpen_; }

  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  int MessageDlg(const std::string& message, velmkit::TMsgDlgType type, velmkit::TMsgDlgButtons buttons,
                 int helpContext) override;
  void ShowMessage(const std::string& message) override;
  bool ExecuteOpenDialog(const velmkit::TOpenDialog& dialog, std::vector<std::string>& files) override;

 private:
  std::istream& in_;
  std::ostream& out_;
  bool interactive_;
  bool assumeYes_ = false;
  std::deque<std::string> inputs_;
  std::deque<std::vector<std::string>> files_;
  std::vector<std::string> messages_;
  std::optional<OpenDialogShown> lastOpen_;
};

}  // namespace velmhost
