#include "velmkit/forms.h"

#include <algorithm>

#include "velmkit/pubframe.h"
#include "velmkit/ribbon.h"
#include "velmkit/strings.h"

namespace velmkit {

TVelmForm::TVelmForm(TComponent* owner) : TComponent(owner) {}

TVelmForm::~TVelmForm() {
  for (TObject* object : FObjects) {
    if (auto* frame = dynamic_cast<TPubFrame*>(object)) {
      if (frame->FForm == this) frame->FForm = nullptr;
    }
  }
}

void TVelmForm::RegisterClasses(const std::vector<const TItemClass*>& classes) {
  for (const TItemClass* itemClass : classes) {
    if (itemClass != nullptr) FClasses.push_back(itemClass);
  }
}

TVelmContainer* TVelmForm::CreateObject(const std::string& className) {
  if (SameText(className, TPubContainer::StaticClassName())) return new TPubContainer(this);
  if (SameText(className, TLocContainer::StaticClassName())) return new TLocContainer(this);
  return nullptr;
}

bool TVelmForm::Save(TVelmContainer*) {
  auto* frame = dynamic_cast<TPubFrame*>(GetObject(0));
  return frame != nullptr && frame->Save(this);
}

TObject* TVelmForm::GetObject(int index) const {
  if (index < 0 || index >= ObjectCount()) return nullptr;
  return FObjects[static_cast<size_t>(index)];
}

void TVelmForm::AddObject(TObject* object) {
  if (object == nullptr || std::find(FObjects.begin(), FObjects.end(), object) != FObjects.end()) return;
  FObjects.push_back(object);
  if (auto* frame = dynamic_cast<TPubFrame*>(object)) frame->FForm = this;
}

void TVelmForm::RemoveObject(TObject* object) {
  FObjects.erase(std::remove(FObjects.begin(), FObjects.end(), object), FObjects.end());
  if (auto* frame = dynamic_cast<TPubFrame*>(object)) {
    if (frame->FForm == this) frame->FForm = nullptr;
  }
}

TVelmContainer* TVelmForm::ObjectOfName(const std::string& name, const TItemClass* itemClass) const {
  auto* frame = dynamic_cast<TPubFrame*>(GetObject(0));
  return frame != nullptr ? frame->ObjectOfName(name, itemClass) : nullptr;
}

TVelmShellForm::TVelmShellForm(TComponent* owner) : TVelmForm(owner) {}
TVelmShellForm::~TVelmShellForm() = default;

TVelmMainForm::TVelmMainForm(TComponent* owner) : TComponent(owner), FRibbon(new TRibbon(this)) {
  FRibbon->SetActionManager(new TActionManager(FRibbon));
}

TVelmMainForm::~TVelmMainForm() = default;

}  // namespace velmkit
