// Importing example or data files: copies of the files chosen in the open
// dialog, never replacing a file that is already there.
#include <velmkit/files.h>

#include "classifier_form.h"
#include "module_container.h"

namespace velmcore {
namespace {

std::string namePart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ClassifierForm::importInto(const std::string& folder) {
    FOpenDialog->SetInitialDir(folder);
    if (!FOpenDialog->Execute()) {
        return;
    }
    const std::vector<std::string> chosen =
        FOpenDialog->Files().size() > 1 ? FOpenDialog->Files() : std::vector<std::string>{FOpenDialog->FileName()};
    for (const std::string& file : chosen) {
        const std::string name = namePart(file);
        if (name.empty() || name == "." || name == "..") {
            continue;
        }
        // The copy itself refuses an existing target, even one that appears meanwhile.
        velmkit::CopyFileNoOverwrite(file, folder + name);
    }
}

void ClassifierForm::openDataItemClick() {
    velmkit::TVelmContainer* item = ObjectOfName(moduleSettings().dataItem, moduleContainerClass());
    if (!asModuleContainer(item) || !FOpenDialog) {
        return;
    }
    const std::string folder = item->GetPath();
    if (!folder.empty() && velmkit::DirectoryExists(folder)) {
        importInto(folder);
    }
}

}  // namespace velmcore
