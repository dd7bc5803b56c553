// The embedding program's hooks as velmkit's own code reaches them.
#pragma once

#include "velmkit/host.h"

namespace velmkit::hooks {

const TerminalRunner& Runner();
const Publisher& PublisherHook();

}  // namespace velmkit::hooks

namespace velmkit::hooks {

// The platform's way to open an address: xdg-open.
void OpenWithDesktop(const std::string& address);

}  // namespace velmkit::hooks
