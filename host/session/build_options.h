// The "Build Options" edits that the module put on the ribbon, as `velm
// config` shows and changes them.
#pragma once

#include <velmkit/controls.h>
#include <velmkit/ribbon.h>

#include <string>
#include <vector>

namespace velmhost {

struct BuildOption {
  std::string key;    // configuration key of an epoch edit, else empty
  std::string label;  // caption of the label before the edit
  int tag = 0;
  velmkit::TEdit* edit = nullptr;
};

// Every visible edit of the ribbon's groups, in order. Hidden edits (the
// publishing settings, among them the password) are left out.
std::vector<BuildOption> BuildOptions(velmkit::TRibbon* ribbon);

// Sets an enabled option by its key or its tag number; the edit's change
// event then stores the value. Throws CommandError for an unknown or disabled
// option, or a value that is not a whole number of epochs.
void SetBuildOption(const std::vector<BuildOption>& options, const std::string& key, const std::string& value);

}  // namespace velmhost
