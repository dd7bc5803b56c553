// Actions and the application-level idle-time update of their state.
#pragma once

#include <string>

#include "velmkit/controls.h"

namespace velmkit {

class TVelmMainForm;

class VELMKIT_API TAction : public TComponent {
  VELMKIT_CLASS(TAction)
 public:
  explicit TAction(TComponent* owner);
  ~TAction() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }

  // Asked by the idle-time update whether the action handles `target`;
  // descendants may update their own state here. The base answers false and
  // changes nothing.
  virtual bool HandlesTarget(TObject* target);
  // Runs OnExecute with this action as sender when enabled and bound; true
  // when it ran.
  virtual bool Execute();
  TNotifyEvent OnExecute;

 private:
  std::string FCaption;
  bool FEnabled = true;
};

class VELMKIT_API TApplication {
 public:
  // What the visual library does when the application is idle: every action
  // reachable from the main form's ribbon (action bars, their items and
  // sub-items) is asked HandlesTarget once, with the main form as target.
  // Returns the number of actions asked.
  int UpdateActions(TVelmMainForm* mainForm);
};

VELMKIT_API TApplication& Application();

}  // namespace velmkit
