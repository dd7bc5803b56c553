#pragma once
// The module's form: what the host constructs for a project of the module's
// kind. One class serves all modules; its class name and everything else that
// differs come from the module's settings table.
#include <string>

#include <velmkit/controls.h>
#include <velmkit/dialogs.h>
#include <velmkit/forms.h>
#include <velmkit/ribbon.h>

#include "module_settings.h"

namespace velmcore {

class ClassifierForm : public velmkit::TVelmShellForm {
public:
    explicit ClassifierForm(velmkit::TComponent* owner);
    ~ClassifierForm() override;
    std::string ClassName() const override;

    velmkit::TVelmContainer* CreateObject(const std::string& className) override;
    bool Save(velmkit::TVelmContainer* container) override;

    // The value of the first line of config.py that starts with `keyText`
    // (a key followed by " = "); "" without a project, config item or file.
    // Throws std::runtime_error naming the file when it cannot be read.
    std::string GetConfig(const std::string& keyText) const;
    // Replaces that line or appends one; never creates the file. Throws
    // std::runtime_error naming the file when it cannot be read or replaced.
    void SetConfig(const std::string& keyText, const std::string& value);

    velmkit::TOpenDialog* OpenDialog() const { return FOpenDialog; }

    // Event handlers, bound by the ribbon with this form as their object.
    void BuildRibbon(velmkit::TObject* mainForm);
    void ConfigEditChange(velmkit::TObject* sender);
    void CreateClassClick(velmkit::TObject* sender);
    void RemoveClassClick(velmkit::TObject* sender);
    void OpenClassClick(velmkit::TObject* sender);
    void BuildAllClick(velmkit::TObject* sender);
    void PublishAllClick(velmkit::TObject* sender);
    void PublicLinkClick(velmkit::TObject* sender, const std::string& link, velmkit::TSysLinkType linkType);

private:
    std::string configFilePath() const;
    void addMenuGroup(velmkit::TActionBars& bars, velmkit::TRibbonPage& page);
    void addOptionsGroup(velmkit::TActionBars& bars, velmkit::TRibbonPage& page);
    void addOptionEdit(velmkit::TEdit& edit, const OptionControl& control);
    void addPublishingEdit(velmkit::TRibbonGroup& group, int left, int width, const std::string& text);
    velmkit::TAction* newMenuAction(MenuCommand command);
    void openDataItemClick();
    // Copies the files chosen in the open dialog into `folder` (ending in '/').
    void importInto(const std::string& folder);

    velmkit::TOpenDialog* FOpenDialog = nullptr;
};

// The class reference that the module registers with the host.
const velmkit::TFormClass* moduleFormClass();

// Builds and runs the build entry at `index` of the project's build list in
// its terminal window, with its tree node selected and checked and its page
// in front.
void RunBuildEntry(ClassifierForm& form, int index);

}  // namespace velmcore
