// Visual controls: placement and state only, the host has no screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

class TWinControl;

using TNotifyEvent = std::function<void(TObject* sender)>;

class VELMKIT_API TControl : public TComponent {
  VELMKIT_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  // Moves the control into `parent`'s control list (out of the previous one).
  void SetParent(TWinControl* parent);

  int Top() const { return FTop; }
  int Left() const { return FLeft; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetTop(int value) { FTop = value; }
  void SetLeft(int value) { FLeft = value; }
  void SetWidth(int value) { FWidth = value; }
  void SetHeight(int value) { FHeight = value; }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { FVisible = visible; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

 private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  int FTop = 0;
  int FLeft = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  int FTag = 0;
};

// A control that holds other controls (not owning them: owners free).
class VELMKIT_API TWinControl : public TControl {
  VELMKIT_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const;  // nullptr when out of range

 private:
  friend class TControl;
  std::vector<TControl*> FControls;
};

class VELMKIT_API TLabel : public TControl {
  VELMKIT_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  ~TLabel() override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }

 private:
  std::string FCaption;
};

class VELMKIT_API TEdit : public TWinControl {
  VELMKIT_CLASS(TEdit)
 public:
  explicit TEdit(TComponent* owner);
  ~TEdit() override;
  const std::string& Text() const { return FText; }
  // Fires OnChange (sender: the edit) when the text differs from before.
  void SetText(const std::string& text);
  TNotifyEvent OnChange;

 private:
  std::string FText;
};

enum class TSysLinkType { sltURL, sltID };
using TSysLinkEvent =
    std::function<void(TObject* sender, const std::string& link, TSysLinkType linkType)>;

class VELMKIT_API TLinkLabel : public TWinControl {
  VELMKIT_CLASS(TLinkLabel)
 public:
  explicit TLinkLabel(TComponent* owner);
  ~TLinkLabel() override;
  // HTML text with anchors: <a href="https://...">Http public link</a>.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  // The addresses of the caption's anchors, in order.
  std::vector<std::string> Links() const;
  // Clicks the anchor at `index`: fires OnLinkClick with its address. False
  // when there is no such anchor.
  bool ClickLink(int index = 0);
  TSysLinkEvent OnLinkClick;

 private:
  std::string FCaption;
};

}  // namespace velmkit
