#include "module_container.h"

#include "class_name_check.h"
#include "folder_lookup.h"
#include "module_settings.h"

namespace velmcore {
namespace {

std::string withDelimiter(std::string path) {
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path;
}

class ModuleContainerClass final : public velmkit::TItemClass {
public:
    std::string ClassName() const override { return moduleSettings().containerClass; }
    velmkit::TVelmContainer* Create(velmkit::TComponent* owner) const override { return new ModuleContainer(owner); }
    bool IsInstance(const velmkit::TObject* object) const override {
        return asModuleContainer(const_cast<velmkit::TObject*>(object)) != nullptr;
    }
};

}  // namespace

ModuleContainer::ModuleContainer(velmkit::TComponent* owner) : velmkit::TVelmContainer(owner) {}

std::string ModuleContainer::ClassName() const {
    return moduleSettings().containerClass;
}

std::string ModuleContainer::GetPath() const {
    const velmkit::TVelmContainer* parent = GetParent();
    if (!parent || !isSingleFolderName(Name())) {
        return {};
    }
    const bool textData = moduleSettings().pathRule == ClassPathRule::ParentPath;
    const std::string parentFolder = withDelimiter(textData ? parent->GetPath() : parent->GetFileName());
    if (parentFolder.empty()) {
        return {};
    }
    // The text-data templates name items "Train" and "Data" over the folders
    // train and data; on a file system that tells case apart, the folder that
    // differs only in case is the one meant.
    const std::string name = textData ? entryNameIgnoringCase(parentFolder, Name()) : Name();
    return withDelimiter(parentFolder + name);
}

const velmkit::TItemClass* moduleContainerClass() {
    static const ModuleContainerClass reference;
    return &reference;
}

ModuleContainer* asModuleContainer(velmkit::TObject* object) {
    auto* container = dynamic_cast<ModuleContainer*>(object);
    return container && container->ClassName() == moduleSettings().containerClass ? container : nullptr;
}

}  // namespace velmcore
