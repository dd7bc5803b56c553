#include "velmkit/actions.h"

#include <set>

#include "velmkit/forms.h"
#include "velmkit/ribbon.h"

namespace velmkit {

TAction::TAction(TComponent* owner) : TComponent(owner) {}
TAction::~TAction() = default;

bool TAction::HandlesTarget(TObject*) { return false; }

bool TAction::Execute() {
  if (!FEnabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

namespace {

void CollectActions(TActionClients* items, std::vector<TAction*>& actions, std::set<TAction*>& seen) {
  if (items == nullptr) return;
  for (int i = 0; i < items->Count(); ++i) {
    TActionClientItem* item = items->Items(i);
    if (item == nullptr) continue;
    TAction* action = item->Action();
    if (action != nullptr && seen.insert(action).second) actions.push_back(action);
    CollectActions(item->Items(), actions, seen);
  }
}

}  // namespace

int TApplication::UpdateActions(TVelmMainForm* mainForm) {
  if (mainForm == nullptr || mainForm->Ribbon() == nullptr) return 0;
  TActionManager* manager = mainForm->Ribbon()->ActionManager();
  if (manager == nullptr || manager->ActionBars() == nullptr) return 0;
  // Collected first: an update may change what the bars hold.
  std::vector<TAction*> actions;
  std::set<TAction*> seen;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    TActionBarItem* entry = bars->Items(i);
    if (entry != nullptr && entry->ActionBar() != nullptr) CollectActions(entry->ActionBar()->Items(), actions, seen);
  }
  for (TAction* action : actions) action->HandlesTarget(mainForm);
  return static_cast<int>(actions.size());
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace velmkit
