#pragma once
// The library notification routine: loading the module into the running
// host program registers its form class, unloading withdraws it.

namespace velmcore {

// The operating system's library notification reasons.
constexpr int kProcessDetach = 0;
constexpr int kProcessAttach = 1;
constexpr int kThreadAttach = 2;
constexpr int kThreadDetach = 3;

void ModuleProc(int reason);

}  // namespace velmcore
