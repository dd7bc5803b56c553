// The page window: captioned tabs, one of them active.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

class VELMKIT_API TPageTab : public TObject {
  VELMKIT_CLASS(TPageTab)
 public:
  explicit TPageTab(std::string caption) : FCaption(std::move(caption)) {}
  ~TPageTab() override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }

 private:
  std::string FCaption;
};

class VELMKIT_API TPageWin : public TComponent {
  VELMKIT_CLASS(TPageWin)
 public:
  explicit TPageWin(TComponent* owner);
  ~TPageWin() override;

  TPageTab* AddPage(const std::string& caption);
  int GetPageCount() const { return static_cast<int>(FPages.size()); }
  TPageTab* GetPage(int index) const;  // nullptr when out of range
  TPageTab* ActivePage() const { return FActive; }
  // Ignores a page that is not one of this window's.
  void SetActivePage(TPageTab* page);
  int ActivePageIndex() const;  // -1 when none

 private:
  std::vector<std::unique_ptr<TPageTab>> FPages;
  TPageTab* FActive = nullptr;
};

}  // namespace velmkit
