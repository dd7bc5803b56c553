// Create, Remove and Open Class: class folders on disk and class items in
// the project tree, kept in step.
#include <velmkit/dialogs.h>
#include <velmkit/files.h>
#include <velmkit/pubframe.h>
#include <velmkit/tree.h>

#include "class_name_check.h"
#include "classifier_form.h"
#include "module_action.h"
#include "module_container.h"

namespace velmcore {
namespace {

std::string withoutTrailingDelimiter(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// An item's own folder, used by the audio modules when the class folder is
// missing. It comes from the descriptor, so it must lie strictly inside the
// project folder: a FileName such as "." must never name the project itself.
std::string fallbackFolder(const velmkit::TVelmContainer& item) {
    if (!moduleSettings().folderFallback) {
        return {};
    }
    const velmkit::TPubFrame* frame = item.Frame();
    const std::string own = item.GetFileName();
    if (!frame || own.empty() || own.rfind(frame->GetPath(), 0) != 0 || own.size() <= frame->GetPath().size() ||
        !velmkit::DirectoryExists(own)) {
        return {};
    }
    return own + '/';
}

}  // namespace

void ClassifierForm::CreateClassClick(velmkit::TObject* sender) {
    ModuleAction* action = asModuleAction(sender);
    velmkit::TVelmContainer* current = action ? action->CurrentClass() : nullptr;
    if (!current) {
        return;
    }
    std::string name;
    if (!velmkit::InputQuery("Create Images Class", "Enter Class name", name)) {
        return;
    }
    const std::string problem = classNameProblem(name);
    if (!problem.empty()) {
        velmkit::ShowMessage("The class \"" + name + "\" was not created: " + problem + ".");
        return;
    }
    velmkit::TVelmContainer* parent = isClassHolderName(current->Name()) ? current : current->GetParent();
    velmkit::TVelmTreeNode* parentNode = parent ? parent->GetTreeNode() : nullptr;
    // A class folder that holds classes (one named train or test) is found by
    // its Path: one made at run time has no file name of its own.
    const std::string parentFolder =
        asModuleContainer(parent) ? parent->GetPath() : parent ? parent->GetFileName() : std::string();
    if (!parentNode || parentFolder.empty()) {
        return;
    }
    velmkit::TVelmCustomTreeView* view = parentNode->VelmTreeView();
    const std::string folder = withoutTrailingDelimiter(parentFolder) + '/' + name;
    velmkit::CreateDir(folder);
    if (!view || !velmkit::DirectoryExists(folder)) {
        return;
    }
    velmkit::TVelmContainer* item = moduleContainerClass()->Create(this);
    try {
        item->SetName(name);
        item->SetParent(parent);
        parent->Add(item);
        if (velmkit::TVelmTreeNode* node = view->AddChild(parentNode, name)) {
            node->SetObj(item);
        }
    } catch (...) {
        Save(nullptr);
        throw;
    }
    Save(nullptr);
}

void ClassifierForm::RemoveClassClick(velmkit::TObject* sender) {
    ModuleAction* action = asModuleAction(sender);
    ModuleContainer* item = action ? asModuleContainer(action->CurrentClass()) : nullptr;
    if (!item) {
        return;
    }
    const int answer = velmkit::MessageDlg("Remove selected class " + item->Name(), velmkit::TMsgDlgType::mtConfirmation,
                                           {velmkit::TMsgDlgBtn::mbYes, velmkit::TMsgDlgBtn::mbNo}, 0);
    if (answer != velmkit::mrYes) {
        return;
    }
    try {
        const std::string path = item->GetPath();
        if (!path.empty() && velmkit::DirectoryExists(path)) {
            velmkit::MoveToTrash(withoutTrailingDelimiter(path));
        } else if (const std::string own = fallbackFolder(*item); !own.empty()) {
            velmkit::MoveToTrash(withoutTrailingDelimiter(own));
        }
        if (velmkit::TVelmTreeNode* node = item->GetTreeNode()) {
            node->Delete();
        }
        if (auto* parentList = dynamic_cast<velmkit::TVelmList*>(item->GetParent())) {
            // Detached, not freed: the host may still refer to the item.
            parentList->SetOwnsObjects(false);
            parentList->Remove(item);
        }
    } catch (...) {
        Save(nullptr);
        throw;
    }
    Save(nullptr);
}

void ClassifierForm::OpenClassClick(velmkit::TObject* sender) {
    if (!moduleSettings().dataItem.empty()) {
        openDataItemClick();
        return;
    }
    ModuleAction* action = asModuleAction(sender);
    velmkit::TVelmContainer* current = action ? action->CurrentClass() : nullptr;
    if (!current || !FOpenDialog) {
        return;
    }
    std::string folder = current->GetPath();
    if (folder.empty() || !velmkit::DirectoryExists(folder)) {
        folder = fallbackFolder(*current);
    }
    if (!folder.empty()) {
        importInto(folder);
    }
}

}  // namespace velmcore
