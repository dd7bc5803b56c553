#include "classifier_form.h"

#include <stdexcept>

#include <velmkit/files.h>
#include <velmkit/pubframe.h>
#include <velmkit/resources.h>
#include <velmkit/strings.h>

#include "config_text.h"
#include "module_container.h"
#include "option_rules.h"
#include "publishing_defaults.h"

namespace velmcore {
namespace {

class ModuleFormClass final : public velmkit::TFormClass {
public:
    std::string ClassName() const override { return moduleSettings().formClass; }
    velmkit::TVelmForm* Create(velmkit::TComponent* owner) const override { return new ClassifierForm(owner); }
    bool IsInstance(const velmkit::TObject* object) const override {
        const auto* form = dynamic_cast<const ClassifierForm*>(object);
        return form && form->ClassName() == ClassName();
    }
};

std::string readConfigBytes(const std::string& path) {
    std::string bytes;
    if (!velmkit::ReadWholeFile(path, bytes)) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

}  // namespace

ClassifierForm::ClassifierForm(velmkit::TComponent* owner) : velmkit::TVelmShellForm(owner) {
    OnBuildRibbon = [this](velmkit::TObject* mainForm) { BuildRibbon(mainForm); };
    // The name lives in the module library's string table, not in code.
    SetName(velmkit::LoadModuleString(&moduleSettings(), velmkit::kComponentNameStringId));
    RegisterClasses({moduleContainerClass()});
    SetPublishHost(kPublishHost);
    SetPublishLogin(kPublishLogin);
    SetPublishPassword(kPublishPassword);
    SetPublishPort(kPublishPort);
    SetPublicUrlBase(kPublicUrlBase);
    FOpenDialog = new velmkit::TOpenDialog(this);
    FOpenDialog->SetFilter(moduleSettings().dialogFilter);
    FOpenDialog->SetFilterIndex(1);
    FOpenDialog->SetDefaultExt(moduleSettings().dialogDefaultExt);
    velmkit::TOpenOptions options = FOpenDialog->Options();
    options.insert(velmkit::TOpenOption::ofAllowMultiSelect);
    FOpenDialog->SetOptions(options);
}

ClassifierForm::~ClassifierForm() = default;

std::string ClassifierForm::ClassName() const {
    return moduleSettings().formClass;
}

velmkit::TVelmContainer* ClassifierForm::CreateObject(const std::string& className) {
    if (velmkit::TVelmContainer* known = velmkit::TVelmShellForm::CreateObject(className)) {
        return known;
    }
    if (velmkit::UpperCase(className) == velmkit::UpperCase(moduleContainerClass()->ClassName())) {
        return moduleContainerClass()->Create(this);
    }
    return nullptr;
}

bool ClassifierForm::Save(velmkit::TVelmContainer* /*container*/) {
    auto* frame = dynamic_cast<velmkit::TPubFrame*>(GetObject(0));
    return frame ? frame->Save(this) : false;
}

std::string ClassifierForm::configFilePath() const {
    auto* frame = dynamic_cast<velmkit::TPubFrame*>(GetObject(0));
    velmkit::TVelmContainer* item = frame ? frame->ObjectOfName("config") : nullptr;
    const std::string path = item ? item->GetFileName() : std::string();
    return !path.empty() && velmkit::FileExists(path) ? path : std::string();
}

std::string ClassifierForm::GetConfig(const std::string& keyText) const {
    const std::string path = configFilePath();
    if (path.empty()) {
        return {};
    }
    return ConfigText::fromBytes(readConfigBytes(path), path).value(keyText);
}

void ClassifierForm::SetConfig(const std::string& keyText, const std::string& value) {
    const std::string path = configFilePath();
    if (path.empty()) {
        return;
    }
    ConfigText config = ConfigText::fromBytes(readConfigBytes(path), path);
    config.setValue(keyText, value);
    if (!velmkit::WriteFileAtomically(path, config.toBytes())) {
        throw std::runtime_error("cannot write " + path);
    }
}

void ClassifierForm::ConfigEditChange(velmkit::TObject* sender) {
    auto* edit = dynamic_cast<velmkit::TEdit*>(sender);
    if (!edit) {
        return;
    }
    for (const OptionControl& control : moduleSettings().options) {
        if (control.kind == OptionControl::Kind::Edit && control.tag == edit->Tag()) {
            if (const auto value = storedValueOf(control.tag, edit->Text())) {
                SetConfig(control.text, *value);
            }
            return;
        }
    }
}

const velmkit::TFormClass* moduleFormClass() {
    static const ModuleFormClass reference;
    return &reference;
}

}  // namespace velmcore
