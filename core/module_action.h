#pragma once
// The action behind the class commands of the class-folder modules: enabled
// while the project tree's selection is a class holder (train, test) or a
// class folder, and remembering that selection as the class to act on.
#include <velmkit/actions.h>
#include <velmkit/items.h>

namespace velmcore {

class ModuleAction : public velmkit::TAction {
public:
    explicit ModuleAction(velmkit::TComponent* owner);
    std::string ClassName() const override;

    bool HandlesTarget(velmkit::TObject* target) override;

    velmkit::TVelmContainer* CurrentClass() const { return FCurrentClass; }
    void SetCurrentClass(velmkit::TVelmContainer* item) { FCurrentClass = item; }

private:
    velmkit::TVelmContainer* FCurrentClass = nullptr;
};

// "Is a T...Action" of this module.
ModuleAction* asModuleAction(velmkit::TObject* object);

// The local folder items under which class folders are kept.
bool isClassHolderName(const std::string& name);

}  // namespace velmcore
