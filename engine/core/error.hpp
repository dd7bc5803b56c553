#pragma once
#include <stdexcept>
#include <string>

namespace qnet {

// Every fault the engine reports to its callers: bad files, bad arguments,
// unknown handles. The message names the file and line where there is one.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qnet
