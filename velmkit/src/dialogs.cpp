#include "velmkit/dialogs.h"

#include "velmkit/host.h"

namespace velmkit {

TOpenDialog::TOpenDialog(TComponent* owner)
    : TComponent(owner), FOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing} {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  std::vector<std::string> files;
  if (!CurrentUserInterface().ExecuteOpenDialog(*this, files) || files.empty()) return false;
  if (FOptions.count(TOpenOption::ofAllowMultiSelect) == 0) files.resize(1);
  FFiles = std::move(files);
  FFileName = FFiles.front();
  return true;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::string answer = value;
  if (!CurrentUserInterface().InputQuery(caption, prompt, answer)) return false;
  value = answer;
  return true;
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  return CurrentUserInterface().MessageDlg(message, type, std::move(buttons), helpContext);
}

void ShowMessage(const std::string& message) { CurrentUserInterface().ShowMessage(message); }

}  // namespace velmkit
