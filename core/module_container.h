#pragma once
// The module's item class: a class folder of a class-folder module, or a data
// folder or file of a text-data module. Its class name is the module's
// container class name, under which the descriptor stores it.
#include <velmkit/items.h>

namespace velmcore {

class ModuleContainer : public velmkit::TVelmContainer {
public:
    explicit ModuleContainer(velmkit::TComponent* owner);
    std::string ClassName() const override;
    // The folder below the parent's folder named like the item, ending in '/';
    // empty without a parent, or when the name would lead outside that folder.
    std::string GetPath() const override;
};

// The class reference that the form registers and the host builds items with.
const velmkit::TItemClass* moduleContainerClass();

// "Is a T...Container" of this module. A container of another module loaded
// into the same host is not one, even though it shares this C++ class.
ModuleContainer* asModuleContainer(velmkit::TObject* object);

}  // namespace velmcore
