// Terminal windows: one per build entry of a project. Activating one runs
// its entry's script through the host's TerminalRunner.
#pragma once

#include <string>

#include "velmkit/classes.h"

namespace velmkit {

class TPubFrame;

class VELMKIT_API TTermWin : public TComponent {
  VELMKIT_CLASS(TTermWin)
 public:
  TTermWin(TComponent* owner, TPubFrame* frame, std::string entryName);
  ~TTermWin() override;

  const std::string& EntryName() const { return FEntryName; }
  TPubFrame* Frame() const { return FFrame; }
  // The file of the project item named like the entry; empty when there is none.
  std::string ScriptPath() const;
  std::string WorkingFolder() const;  // the project folder

  bool GetActive() const { return FActive; }
  // Going from inactive to active runs the entry (TerminalRunner); setting the
  // current state again does nothing.
  void SetActive(bool active);
  // How many times the entry was started.
  int RunCount() const { return FRunCount; }

 private:
  TPubFrame* FFrame;
  std::string FEntryName;
  bool FActive = false;
  int FRunCount = 0;
};

}  // namespace velmkit
