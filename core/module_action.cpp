#include "module_action.h"

#include <velmkit/forms.h>
#include <velmkit/pubframe.h>
#include <velmkit/tree.h>

#include "module_container.h"
#include "module_settings.h"

namespace velmcore {

ModuleAction::ModuleAction(velmkit::TComponent* owner) : velmkit::TAction(owner) {}

std::string ModuleAction::ClassName() const {
    return moduleSettings().actionClass;
}

bool ModuleAction::HandlesTarget(velmkit::TObject* /*target*/) {
    auto* form = dynamic_cast<velmkit::TVelmForm*>(Owner());
    auto* frame = form ? dynamic_cast<velmkit::TPubFrame*>(form->GetObject(0)) : nullptr;
    velmkit::TVelmTreeNode* frameNode = frame ? frame->GetTreeNode() : nullptr;
    velmkit::TVelmCustomTreeView* view = frameNode ? frameNode->VelmTreeView() : nullptr;
    if (!view) {
        FCurrentClass = nullptr;
        SetEnabled(false);
        return false;
    }
    velmkit::TObject* selected = view->GetObj();
    auto* holder = dynamic_cast<velmkit::TLocContainer*>(selected);
    const bool enabled = (holder && isClassHolderName(holder->Name())) || asModuleContainer(selected);
    SetEnabled(enabled);
    if (enabled) {
        FCurrentClass = dynamic_cast<velmkit::TVelmContainer*>(selected);
    }
    return enabled;
}

ModuleAction* asModuleAction(velmkit::TObject* object) {
    auto* action = dynamic_cast<ModuleAction*>(object);
    return action && action->ClassName() == moduleSettings().actionClass ? action : nullptr;
}

bool isClassHolderName(const std::string& name) {
    return name == "train" || name == "test";
}

}  // namespace velmcore
