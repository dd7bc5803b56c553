#pragma once
// The settings table of the core's own tests, open to change by each test.
#include "module_settings.h"

namespace velmcore {

ModuleSettings& testSettings();

}  // namespace velmcore
