// The form's two ribbon groups: "Menu" with the commands and "Build Options"
// with the edits bound to config.py.
#include <velmkit/forms.h>
#include <velmkit/ribbon.h>

#include "classifier_form.h"
#include "module_action.h"
#include "option_rules.h"
#include "publishing_defaults.h"

namespace velmcore {
namespace {

constexpr int kEditHeight = 18;

// A group on a new entry of the action bars; nullptr when the entry takes no bar.
velmkit::TRibbonGroup* addGroup(velmkit::TActionBars& bars, velmkit::TRibbonPage& page, const std::string& caption,
                                int groupIndex, const std::string& keyTip) {
    velmkit::TActionBarItem* entry = bars.Add();
    if (!entry) {
        return nullptr;
    }
    auto* group = new velmkit::TRibbonGroup(&page);
    entry->SetActionBar(group);
    if (!entry->ActionBar()) {
        return nullptr;
    }
    group->SetParent(&page);
    group->SetCaption(caption);
    group->SetGroupAlign(velmkit::TGroupAlign::gaVertical);
    group->SetGroupIndex(groupIndex);
    group->SetKeyTip(keyTip);
    return group;
}

}  // namespace

void ClassifierForm::BuildRibbon(velmkit::TObject* mainForm) {
    if (!dynamic_cast<velmkit::TVelmMainForm*>(mainForm)) {
        return;
    }
    velmkit::TRibbonPage* page = GetRibbonPage();
    velmkit::TRibbon* ribbon = page ? page->Ribbon() : nullptr;
    velmkit::TActionManager* manager = ribbon ? ribbon->ActionManager() : nullptr;
    velmkit::TActionBars* bars = manager ? manager->ActionBars() : nullptr;
    if (!bars) {
        return;
    }
    addMenuGroup(*bars, *page);
    addOptionsGroup(*bars, *page);
}

// Every action is owned by this form, so that none outlives the form that
// its handler is bound to.
velmkit::TAction* ClassifierForm::newMenuAction(MenuCommand command) {
    const bool classFolders = !moduleSettings().actionClass.empty();
    velmkit::TAction* action = nullptr;
    switch (command) {
    case MenuCommand::CreateClass:
        action = new ModuleAction(this);
        action->OnExecute = [this](velmkit::TObject* sender) { CreateClassClick(sender); };
        break;
    case MenuCommand::RemoveClass:
        action = new ModuleAction(this);
        action->OnExecute = [this](velmkit::TObject* sender) { RemoveClassClick(sender); };
        break;
    case MenuCommand::OpenClass:
        action = classFolders ? new ModuleAction(this) : new velmkit::TAction(this);
        action->OnExecute = [this](velmkit::TObject* sender) { OpenClassClick(sender); };
        break;
    case MenuCommand::BuildAll:
        action = new velmkit::TAction(this);
        action->OnExecute = [this](velmkit::TObject* sender) { BuildAllClick(sender); };
        break;
    case MenuCommand::PublishAll:
        action = new velmkit::TAction(this);
        action->OnExecute = [this](velmkit::TObject* sender) { PublishAllClick(sender); };
        break;
    case MenuCommand::Separator:
        break;
    }
    return action;
}

void ClassifierForm::addMenuGroup(velmkit::TActionBars& bars, velmkit::TRibbonPage& page) {
    velmkit::TRibbonGroup* group = addGroup(bars, page, "Menu", 0, "1");
    velmkit::TActionClientItem* build = group ? group->Items()->Add() : nullptr;
    if (!build) {
        return;
    }
    build->SetAction(newMenuAction(MenuCommand::BuildAll));
    build->SetCaption("&Build");
    build->SetCommandStyle(velmkit::TCommandStyle::csButton);
    if (velmkit::TButtonProperties* button = build->CommandProperties()) {
        button->ButtonSize = velmkit::TButtonSize::bsLarge;
        button->ButtonType = velmkit::TButtonType::btSplit;
        button->GroupPosition = velmkit::TGroupPosition::gpNone;
    }
    for (const MenuRow& row : moduleSettings().menu) {
        velmkit::TActionClientItem* item = build->Items()->Add();
        if (!item) {
            continue;
        }
        if (velmkit::TAction* action = newMenuAction(row.command)) {
            item->SetAction(action);
        }
        item->SetCaption(row.caption);
    }
}

void ClassifierForm::addOptionsGroup(velmkit::TActionBars& bars, velmkit::TRibbonPage& page) {
    velmkit::TRibbonGroup* group = addGroup(bars, page, "Build Options", 1, "2");
    if (!group) {
        return;
    }
    group->SetWidth(500);
    for (const OptionControl& control : moduleSettings().options) {
        if (control.kind == OptionControl::Kind::Label) {
            auto* label = new velmkit::TLabel(group);
            label->SetParent(group);
            label->SetTop(control.top);
            label->SetLeft(control.left);
            label->SetCaption(control.text);
            continue;
        }
        auto* edit = new velmkit::TEdit(group);
        edit->SetTag(control.tag);
        edit->SetParent(group);
        edit->SetBounds(control.left, control.top, control.width, kEditHeight);
        addOptionEdit(*edit, control);
    }

    auto* link = new velmkit::TLinkLabel(group);
    link->SetParent(group);
    link->SetTop(50);
    link->SetLeft(5);
    link->SetCaption(std::string("<a href=\"") + kPublicSite + "\">Http public link</a>");
    link->OnLinkClick = [this](velmkit::TObject* sender, const std::string& address, velmkit::TSysLinkType type) {
        PublicLinkClick(sender, address, type);
    };

    addPublishingEdit(*group, 85, 115, PublishHost());
    addPublishingEdit(*group, 210, 110, PublishLogin());
    addPublishingEdit(*group, 325, 105, PublishPassword());
    addPublishingEdit(*group, 435, 20, std::to_string(PublishPort()));
}

// Fills the edit from config.py before its change event is attached, so that
// only the explicit stores of defaults write the file.
void ClassifierForm::addOptionEdit(velmkit::TEdit& edit, const OptionControl& control) {
    const std::string value = GetConfig(control.text);
    switch (roleOfTag(control.tag)) {
    case OptionRole::Path:
        if (!pathValueIsMissing(value)) {
            edit.SetText(pathShownFromStored(value));
        } else {
            edit.SetText(control.defaultValue);
            ConfigEditChange(&edit);
        }
        break;
    case OptionRole::Number:
        edit.SetText(value.empty() ? control.defaultValue : value);
        break;
    case OptionRole::Epoch:
        if (!value.empty()) {
            edit.SetText(value);
        } else {
            edit.SetText(control.defaultValue);
            ConfigEditChange(&edit);
        }
        break;
    case OptionRole::None:
        break;
    }
    edit.SetEnabled(roleOfTag(control.tag) == OptionRole::Epoch);
    edit.OnChange = [this](velmkit::TObject* sender) { ConfigEditChange(sender); };
}

void ClassifierForm::addPublishingEdit(velmkit::TRibbonGroup& group, int left, int width, const std::string& text) {
    auto* edit = new velmkit::TEdit(&group);
    edit->SetParent(&group);
    edit->SetBounds(left, 50, width, kEditHeight);
    edit->SetText(text);
    edit->SetVisible(false);
    edit->OnChange = [this](velmkit::TObject* sender) { ConfigEditChange(sender); };
}

}  // namespace velmcore
