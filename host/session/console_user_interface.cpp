#include "console_user_interface.h"

#include <filesystem>
#include <istream>
#include <ostream>

namespace velmhost {

ConsoleUserInterface::ConsoleUserInterface(std::istream& in, std::ostream& out, bool interactive)
    : in_(in), out_(out), interactive_(interactive) {}

ConsoleUserInterface::~ConsoleUserInterface() = default;

bool ConsoleUserInterface::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  if (!inputs_.empty()) {
    value = inputs_.front();
    inputs_.pop_front();
    return true;
  }
  if (!interactive_) return false;
  out_ << caption << ": " << prompt << ": " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) return false;
  value = line;
  return true;
}

int ConsoleUserInterface::MessageDlg(const std::string& message, velmkit::TMsgDlgType, velmkit::TMsgDlgButtons buttons,
                                     int) {
  const bool yesNo = buttons.count(velmkit::TMsgDlgBtn::mbYes) != 0;
  if (!yesNo) {
    ShowMessage(message);
    return velmkit::mrOk;
  }
  if (assumeYes_) {
    out_ << message << "? yes\n";
    return velmkit::mrYes;
  }
  if (!interactive_) {
    out_ << message << "? no (give --yes to confirm)\n";
    return velmkit::mrNo;
  }
  out_ << message << "? [y/N] " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) return velmkit::mrNo;
  return line == "y" || line == "Y" || line == "yes" ? velmkit::mrYes : velmkit::mrNo;
}

void ConsoleUserInterface::ShowMessage(const std::string& message) {
  messages_.push_back(message);
  out_ << message << '\n';
}

bool ConsoleUserInterface::ExecuteOpenDialog(const velmkit::TOpenDialog& dialog, std::vector<std::string>& files) {
  OpenDialogShown shown{dialog.InitialDir(), {}, {}};
  if (!files_.empty()) {
    shown.files = files_.front();
    files_.pop_front();
  }
  for (const auto& file : shown.files) {
    std::error_code error;
    const auto target = std::filesystem::path(shown.folder) / std::filesystem::path(file).filename();
    shown.existedBefore.push_back(std::filesystem::exists(target, error));
  }
  files = shown.files;
  lastOpen_ = shown;
  return !files.empty();
}

}  // namespace velmhost
