#include "module_host.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmtest {
namespace fs = std::filesystem;

namespace {

const char* const kImageFilter = "Image jpg(*.jpg)|*.jpg|All files(*.*)|*.*";
const char* const kAudioFilter = "Audio wav(*.wav)|*.wav|All files(*.*)|*.*";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream stream(path);
    for (std::string part; std::getline(stream, part, '/');) {
        parts.push_back(part);
    }
    return parts;
}

velmkit::TVelmContainer* childNamed(const velmkit::TVelmList& list, const std::string& name) {
    for (int i = 0; i < list.Count(); ++i) {
        auto* child = dynamic_cast<velmkit::TVelmContainer*>(list.At(i));
        if (child && child->Name() == name) {
            return child;
        }
    }
    return nullptr;
}

velmkit::TVelmContainer* itemAt(velmkit::TVelmContainer* root, const std::string& path) {
    velmkit::TVelmContainer* item = root;
    for (const std::string& part : splitPath(path)) {
        item = item ? childNamed(*item, part) : nullptr;
    }
    return item;
}

}  // namespace

const std::vector<ModuleFacts>& allModules() {
    static const std::vector<ModuleFacts> modules = {
        {"visagor", "TFacClsForm", "TFacAction", "TFacContainer", "FaceClassify", kImageFilter, "jpg", 1, false, ""},
        {"vocatrix", "TVocatrixForm", "TSpchAction", "TSpchContainer", "SpeechCommands", kAudioFilter, "wav", 2, true, ""},
        {"palmetry", "THndClsForm", "THndAction", "THndContainer", "HandPoseClassify", kImageFilter, "jpg", 2, false, ""},
        {"figurant", "THumClsForm", "THumAction", "THumContainer", "HumanPoseClassify", kImageFilter, "jpg", 2, false, ""},
        {"moodaris", "TEmoClsForm", "TEmoAction", "TEmoContainer", "EmotionClassify", kImageFilter, "jpg", 2, false, ""},
        {"voxident", "TSpeakClsForm", "TSpkAction", "TSpkContainer", "Voxidentify", kAudioFilter, "wav", 2, true, ""},
        {"parlomat", "TChatBotForm", "", "TBotContainer", "ChatBot", "Train yml(*.yml)|*.yml|All files(*.*)|*.*", "yml", 3,
         false, "Train"},
        {"titulane", "THeadLinClsForm", "", "THdlContainer", "Titulaneify", "Data csv(*.csv)|*.csv|All files(*.*)|*.*", "csv",
         1, false, "Data"},
    };
    return modules;
}

const std::vector<ModuleFacts>& classFolderModules() {
    static const std::vector<ModuleFacts> modules = [] {
        std::vector<ModuleFacts> selected;
        for (const ModuleFacts& facts : allModules()) {
            if (!facts.textData()) {
                selected.push_back(facts);
            }
        }
        return selected;
    }();
    return modules;
}

const std::vector<ModuleFacts>& textDataModules() {
    static const std::vector<ModuleFacts> modules = [] {
        std::vector<ModuleFacts> selected;
        for (const ModuleFacts& facts : allModules()) {
            if (facts.textData()) {
                selected.push_back(facts);
            }
        }
        return selected;
    }();
    return modules;
}

std::string modulePath(const std::string& deliverable) {
    return std::string(VELM_MODULE_DIR) + "/" + deliverable + ".so";
}

std::string printName(const ModuleFacts& facts) {
    return facts.deliverable;
}

void PrintTo(const ModuleFacts& facts, std::ostream* out) {
    *out << facts.deliverable;
}

LoadedModule::LoadedModule(const std::string& path) : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) {
        throw std::runtime_error(std::string("cannot load ") + path + ": " + ::dlerror());
    }
}

LoadedModule::~LoadedModule() {
    unload();
}

void LoadedModule::unload() {
    if (handle_) {
        ::dlclose(handle_);
        handle_ = nullptr;
    }
}

ProjectCopy::ProjectCopy(const std::string& fixture, const ModuleFacts& facts) {
    std::string pattern = (fs::temp_directory_path() / "velm-module-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    // The folder name is the project name, which Publish All puts into the address.
    folder_ = fs::path(pattern) / "demo";
    fs::copy(fs::path(VELM_FIXTURES_DIR) / fixture, folder_, fs::copy_options::recursive);
    std::string descriptor = read("pwa.pwa");
    descriptor = replaceAll(descriptor, "@MODULE@", facts.deliverable);
    descriptor = replaceAll(descriptor, "@CONTAINER@", facts.containerClass);
    write("pwa.pwa", descriptor);
}

ProjectCopy::~ProjectCopy() {
    std::error_code ignored;
    fs::remove_all(folder_.parent_path(), ignored);
}

std::string ProjectCopy::read(const std::string& relative) const {
    std::ifstream in(folder_ / relative, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + (folder_ / relative).string());
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void ProjectCopy::write(const std::string& relative, const std::string& bytes) const {
    writeFile(folder_ / relative, bytes);
}

void ProjectCopy::writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

ModuleHost::ModuleHost(const ModuleFacts& facts, const std::string& fixture)
    : facts_(facts),
      module_((velmkit::SetInitProgram(1), modulePath(facts.deliverable))),
      application_(std::make_unique<velmkit::TComponent>(nullptr)) {
    velmkit::SetUserInterface(&ui_);
    velmkit::SetTerminalRunner([this](velmkit::TTermWin& terminal) { runs.push_back(terminal.EntryName()); });
    velmkit::SetPublisher([this](const velmkit::TPubFrame&, const std::vector<velmkit::PublishFile>&) {
        ++publishCount;
        return velmkit::PublishResult{publishSucceeds, publishSucceeds ? "" : "refused"};
    });
    velmkit::SetAddressOpener([this](const std::string& address) { openedAddresses.push_back(address); });

    const velmkit::TFormClass* formClass = velmkit::FindModuleClass(facts.formClass);
    if (!formClass) {
        throw std::runtime_error(facts.deliverable + " registered no class " + facts.formClass);
    }
    form_ = dynamic_cast<velmkit::TVelmShellForm*>(formClass->Create(application_.get()));
    mainForm_ = new velmkit::TVelmMainForm(application_.get());
    form_->SetRibbonPage(mainForm_->Ribbon()->AddPage(facts.componentName));
    if (fixture.empty()) {
        return;
    }
    project_ = std::make_unique<ProjectCopy>(fixture, facts);
    frame_ = velmkit::TPubFrame::Open(project_->folder().string(), form_, application_.get());
    tree_ = new velmkit::TVelmTreeView(application_.get());
    velmkit::BuildProjectTree(*frame_, *tree_);
    pages_ = new velmkit::TPageWin(application_.get());
    tree_->SetVelmWin(pages_);
}

ModuleHost::~ModuleHost() {
    // Everything the module made goes before the module's code does.
    application_.reset();
    velmkit::ResetHost();
    module_.unload();
    velmkit::SetInitProgram(0);
}

void ModuleHost::buildRibbon() {
    form_->OnBuildRibbon(mainForm_);
}

velmkit::TVelmContainer* ModuleHost::item(const std::string& path) const {
    return itemAt(frame_, path);
}

void ModuleHost::select(const std::string& path) {
    if (path.empty()) {
        tree_->Select(nullptr);
    } else {
        velmkit::TVelmContainer* target = item(path);
        if (!target || !tree_->SelectObject(target)) {
            throw std::runtime_error("no tree node for " + path);
        }
    }
    velmkit::Application().UpdateActions(mainForm_);
}

velmkit::TActionClientItem* ModuleHost::ribbonItem(const std::string& caption) {
    return velmkit::FindRibbonItem(mainForm_->Ribbon(), caption);
}

bool ModuleHost::click(const std::string& caption) {
    velmkit::TActionClientItem* entry = ribbonItem(caption);
    if (!entry) {
        throw std::runtime_error("no ribbon item " + caption);
    }
    return entry->Click();
}

std::vector<velmkit::TEdit*> ModuleHost::optionEdits(int groupNumber) {
    std::vector<velmkit::TEdit*> edits;
    int seen = 0;
    for (velmkit::TRibbonGroup* group : velmkit::RibbonGroups(mainForm_->Ribbon())) {
        if (group->Caption() != "Build Options" || seen++ != groupNumber) {
            continue;
        }
        for (int i = 0; i < group->ControlCount(); ++i) {
            if (auto* edit = dynamic_cast<velmkit::TEdit*>(group->Controls(i))) {
                edits.push_back(edit);
            }
        }
    }
    return edits;
}

std::vector<std::string> ModuleHost::savedChildNames(const std::string& path) {
    velmkit::TComponent owner(nullptr);
    const velmkit::TFormClass* formClass = velmkit::FindModuleClass(facts_.formClass);
    velmkit::TVelmForm* form = formClass->Create(&owner);
    velmkit::TPubFrame* saved = velmkit::TPubFrame::Open(project_->folder().string(), form, &owner);
    std::vector<std::string> names;
    if (velmkit::TVelmContainer* parent = itemAt(saved, path)) {
        for (int i = 0; i < parent->Count(); ++i) {
            auto* child = dynamic_cast<velmkit::TVelmContainer*>(parent->At(i));
            names.push_back(child ? child->ClassName() + ":" + child->Name() : "?");
        }
    }
    return names;
}

}  // namespace velmtest
