#pragma once
// A host for one module library in a test: loads it as the host program
// would, opens a copy of a fixture project with the module's form, builds the
// tree and the ribbon, and answers every dialog from a script.
#include <dlfcn.h>

#include <filesystem>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include <velmkit/velmkit.h>

namespace velmtest {

// What a test expects of a module, written independently of its settings.
struct ModuleFacts {
    std::string deliverable;
    std::string formClass;
    std::string actionClass;  // empty for the text-data modules
    std::string containerClass;
    std::string componentName;
    std::string dialogFilter;
    std::string defaultExt;
    int buildIndex;
    bool folderFallback;
    std::string dataItem;  // empty for the class-folder modules
    bool textData() const { return !dataItem.empty(); }
};

const std::vector<ModuleFacts>& allModules();
const std::vector<ModuleFacts>& classFolderModules();
const std::vector<ModuleFacts>& textDataModules();
std::string modulePath(const std::string& deliverable);
std::string printName(const ModuleFacts& facts);
// Test names and failure messages show the module's name, not its bytes.
void PrintTo(const ModuleFacts& facts, std::ostream* out);

// A loaded library, unloaded when this goes.
class LoadedModule {
public:
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    void unload();
    bool loaded() const { return handle_ != nullptr; }

private:
    void* handle_;
};

// A fresh copy of a fixture folder with @MODULE@ and @CONTAINER@ in its
// descriptor replaced; removed at the end of the test.
class ProjectCopy {
public:
    ProjectCopy(const std::string& fixture, const ModuleFacts& facts);
    ~ProjectCopy();
    const std::filesystem::path& folder() const { return folder_; }
    std::string read(const std::string& relative) const;
    void write(const std::string& relative, const std::string& bytes) const;
    static void writeFile(const std::filesystem::path& path, const std::string& bytes);

private:
    std::filesystem::path folder_;
};

struct RecordedRun {
    std::string entry;
};

class ModuleHost {
public:
    explicit ModuleHost(const ModuleFacts& facts, const std::string& fixture = "");
    ~ModuleHost();

    const ModuleFacts& facts() const { return facts_; }
    velmkit::TVelmShellForm* form() const { return form_; }
    velmkit::TPubFrame* frame() const { return frame_; }
    velmkit::TVelmTreeView& tree() { return *tree_; }
    velmkit::TVelmMainForm& mainForm() { return *mainForm_; }
    velmkit::ScriptedUserInterface& ui() { return ui_; }
    ProjectCopy& project() { return *project_; }
    velmkit::TPageWin& pages() { return *pages_; }

    // The host's own ribbon page for the form; BuildRibbon adds the groups.
    void buildRibbon();
    // Selects the node of the item at `path` (item names from the frame down,
    // separated by '/'), or clears the selection for "", then runs the idle update.
    void select(const std::string& path);
    velmkit::TVelmContainer* item(const std::string& path) const;
    // Clicks the ribbon item with that caption; false when it did not run.
    bool click(const std::string& caption);
    velmkit::TActionClientItem* ribbonItem(const std::string& caption);
    std::vector<velmkit::TEdit*> optionEdits(int groupNumber = 0);

    // Opens the project from disk again in a fresh form, to see what was saved.
    std::vector<std::string> savedChildNames(const std::string& path);

    std::vector<std::string> runs;
    std::vector<std::string> openedAddresses;
    bool publishSucceeds = true;
    int publishCount = 0;

private:
    ModuleFacts facts_;
    LoadedModule module_;
    std::unique_ptr<ProjectCopy> project_;
    velmkit::ScriptedUserInterface ui_;
    std::unique_ptr<velmkit::TComponent> application_;
    velmkit::TVelmShellForm* form_ = nullptr;
    velmkit::TPubFrame* frame_ = nullptr;
    velmkit::TVelmTreeView* tree_ = nullptr;
    velmkit::TVelmMainForm* mainForm_ = nullptr;
    velmkit::TPageWin* pages_ = nullptr;
};

}  // namespace velmtest
