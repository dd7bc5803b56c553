#include "build_options.h"

#include <algorithm>

#include "module_catalog.h"

namespace velmhost {

namespace {

// The two edits a person may type into carry the same tags in every module.
std::string KeyOfTag(int tag) {
  if (tag == 16) return "keras_epochs";
  if (tag == 17) return "qnet_epochs";
  return "";
}

bool IsCount(const std::string& value) {
  return !value.empty() && value.size() <= 9 && std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c); }) &&
         value.find_first_not_of('0') != std::string::npos;
}

}  // namespace

std::vector<BuildOption> BuildOptions(velmkit::TRibbon* ribbon) {
  std::vector<BuildOption> options;
  for (velmkit::TRibbonGroup* group : velmkit::RibbonGroups(ribbon)) {
    std::string label;
    for (int i = 0; i < group->ControlCount(); ++i) {
      velmkit::TControl* control = group->Controls(i);
      if (auto* text = dynamic_cast<velmkit::TLabel*>(control)) {
        label = text->Caption();
      } else if (auto* edit = dynamic_cast<velmkit::TEdit*>(control)) {
        if (!edit->Visible()) continue;
        options.push_back({KeyOfTag(edit->Tag()), label, edit->Tag(), edit});
      }
    }
  }
  return options;
}

void SetBuildOption(const std::vector<BuildOption>& options, const std::string& key, const std::string& value) {
  const BuildOption* chosen = nullptr;
  for (const auto& option : options) {
    if ((!option.key.empty() && option.key == key) || std::to_string(option.tag) == key) {
      chosen = &option;
      break;
    }
  }
  if (chosen == nullptr) throw CommandError("'" + key + "' is no build option of this project");
  if (!chosen->edit->Enabled()) throw CommandError("'" + key + "' cannot be changed (the module shows it read-only)");
  // The value lands unquoted in config.py, which the build runs as Python.
  if (!IsCount(value)) throw CommandError("'" + key + "' takes a whole number of epochs from 1 to 999999999, not '" + value + "'");
  chosen->edit->SetText(value);
}

}  // namespace velmhost
