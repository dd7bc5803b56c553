#include "velmkit/controls.h"

#include <algorithm>

namespace velmkit {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent || parent == this) return;
  if (FParent != nullptr) {
    auto& siblings = FParent->FControls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  FParent = parent;
  if (parent != nullptr) parent->FControls.push_back(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children outlive a parent that goes first; they are then parentless.
  for (TControl* control : FControls) control->FParent = nullptr;
  FControls.clear();
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return FControls[static_cast<size_t>(index)];
}

TLabel::TLabel(TComponent* owner) : TControl(owner) {}
TLabel::~TLabel() = default;

TEdit::TEdit(TComponent* owner) : TWinControl(owner) { SetHeight(21); }
TEdit::~TEdit() = default;

void TEdit::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  if (OnChange) OnChange(this);
}

TLinkLabel::TLinkLabel(TComponent* owner) : TWinControl(owner) {}
TLinkLabel::~TLinkLabel() = default;

std::vector<std::string> TLinkLabel::Links() const {
  std::vector<std::string> links;
  const std::string marker = "href=\"";
  size_t at = 0;
  while ((at = FCaption.find("<a ", at)) != std::string::npos) {
    size_t close = FCaption.find('>', at);
    size_t href = FCaption.find(marker, at);
    if (close == std::string::npos) break;
    if (href != std::string::npos && href < close) {
      size_t begin = href + marker.size();
      size_t end = FCaption.find('"', begin);
      if (end == std::string::npos || end > close) break;
      links.push_back(FCaption.substr(begin, end - begin));
    } else {
      links.emplace_back();
    }
    at = close;
  }
  return links;
}

bool TLinkLabel::ClickLink(int index) {
  std::vector<std::string> links = Links();
  if (index < 0 || index >= static_cast<int>(links.size())) return false;
  if (OnLinkClick) OnLinkClick(this, links[static_cast<size_t>(index)], TSysLinkType::sltURL);
  return true;
}

}  // namespace velmkit
