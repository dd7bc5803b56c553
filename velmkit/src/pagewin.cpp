#include "velmkit/pagewin.h"

namespace velmkit {

TPageTab::~TPageTab() = default;

TPageWin::TPageWin(TComponent* owner) : TComponent(owner) {}
TPageWin::~TPageWin() = default;

TPageTab* TPageWin::AddPage(const std::string& caption) {
  FPages.push_back(std::make_unique<TPageTab>(caption));
  return FPages.back().get();
}

TPageTab* TPageWin::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return FPages[static_cast<size_t>(index)].get();
}

void TPageWin::SetActivePage(TPageTab* page) {
  if (page == nullptr) {
    FActive = nullptr;
    return;
  }
  for (const auto& own : FPages) {
    if (own.get() == page) FActive = page;
  }
}

int TPageWin::ActivePageIndex() const {
  for (size_t i = 0; i < FPages.size(); ++i) {
    if (FPages[i].get() == FActive) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace velmkit
