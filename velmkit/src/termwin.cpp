#include "velmkit/termwin.h"

#include "host_hooks.h"
#include "velmkit/pubframe.h"

namespace velmkit {

TTermWin::TTermWin(TComponent* owner, TPubFrame* frame, std::string entryName)
    : TComponent(owner), FFrame(frame), FEntryName(std::move(entryName)) {}

TTermWin::~TTermWin() = default;

std::string TTermWin::ScriptPath() const {
  if (FFrame == nullptr) return "";
  TVelmContainer* item = FFrame->ObjectOfName(FEntryName);
  return item != nullptr ? item->GetFileName() : "";
}

std::string TTermWin::WorkingFolder() const { return FFrame != nullptr ? FFrame->ProjectFolder() : ""; }

void TTermWin::SetActive(bool active) {
  if (active == FActive) return;
  FActive = active;
  if (!active) return;
  ++FRunCount;
  if (const TerminalRunner& runner = hooks::Runner()) runner(*this);
}

}  // namespace velmkit
