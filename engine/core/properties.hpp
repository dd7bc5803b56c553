#pragma once
#include <string>
#include <variant>
#include <vector>

#include "model.hpp"

namespace qnet {

using PropertyValue = std::variant<bool, long long, double, std::string>;

// The published properties by name, read and written as `get` and `set` see
// them. Setting checks the type and the range and throws qnet::Error.
PropertyValue GetProperty(const TKNet& net, const std::string& name);
void SetProperty(TKNet& net, const std::string& name, const PropertyValue& value);
std::vector<std::string> PropertyNames();

}  // namespace qnet
