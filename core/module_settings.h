#pragma once
// Everything in which the eight modules differ, as one table per module.
// The core reads nothing else per module; a new module is a new table, its
// resources and its template.
#include <string>
#include <vector>

namespace velmcore {

// The commands that the "Menu" group can offer under its "&Build" button.
enum class MenuCommand { CreateClass, OpenClass, RemoveClass, Separator, BuildAll, PublishAll };

struct MenuRow {
    std::string caption;
    MenuCommand command;
};

// One control of the "Build Options" group, in creation order. A label shows
// `text`; an edit reads and writes the configuration key text `text` and
// falls back to `defaultValue`. What an edit does with its value follows from
// its tag (see option_rules.h).
struct OptionControl {
    enum class Kind { Label, Edit } kind;
    std::string text;
    int top;
    int left;
    int width = 0;
    int tag = 0;
    std::string defaultValue;
};

// How a class item finds its folder: below its parent's file (class modules)
// or below its parent's own path, recursively (text-data modules).
enum class ClassPathRule { ParentFileName, ParentPath };

struct ModuleSettings {
    std::string formClass;
    std::string actionClass;  // empty: no module action (text-data modules)
    std::string containerClass;
    std::string dialogFilter;
    std::string dialogDefaultExt;
    int buildIndex;  // position of the training entry in the template's build list
    std::vector<MenuRow> menu;
    std::vector<OptionControl> options;
    ClassPathRule pathRule = ClassPathRule::ParentFileName;
    bool folderFallback = false;  // audio modules: the item's own file name when its folder is missing
    std::string dataItem;         // text-data modules: the item that Open Class imports into
};

// Defined once in every module library by its settings folder.
const ModuleSettings& moduleSettings();

}  // namespace velmcore
