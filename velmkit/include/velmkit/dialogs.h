// Dialogs. Nothing is shown by velmkit itself: every dialog is answered by
// the embedding program's UserInterface (host.h).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

enum class TOpenOption { ofReadOnly, ofHideReadOnly, ofAllowMultiSelect, ofFileMustExist, ofEnableSizing };
using TOpenOptions = std::set<TOpenOption>;

class VELMKIT_API TOpenDialog : public TComponent {
  VELMKIT_CLASS(TOpenDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;

  // "Text(*.ext)|*.ext|All files(*.*)|*.*": description and pattern pairs.
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& filter) { FFilter = filter; }
  int FilterIndex() const { return FFilterIndex; }  // 1 = first pair
  void SetFilterIndex(int index) { FFilterIndex = index; }
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& ext) { FDefaultExt = ext; }
  const TOpenOptions& Options() const { return FOptions; }  // default: ofHideReadOnly, ofEnableSizing
  void SetOptions(TOpenOptions options) { FOptions = std::move(options); }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& folder) { FInitialDir = folder; }

  // The chosen files after Execute; FileName is the first of them.
  const std::vector<std::string>& Files() const { return FFiles; }
  const std::string& FileName() const { return FFileName; }

  // Asks the UserInterface. False when the user cancels; a single-selection
  // dialog keeps only the first file chosen.
  bool Execute();

 private:
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FDefaultExt;
  TOpenOptions FOptions;
  std::string FInitialDir;
  std::vector<std::string> FFiles;
  std::string FFileName;
};

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = std::set<TMsgDlgBtn>;

// Modal results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// True when the user confirms; `value` then holds the entered text.
VELMKIT_API bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// The modal result of the button pressed.
VELMKIT_API int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
VELMKIT_API void ShowMessage(const std::string& message);

}  // namespace velmkit
