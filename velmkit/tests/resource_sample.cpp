// A stand-in for a module library: it carries resources and reads its own
// component name the way a module form does.
#include <string>

#include "velmkit/resources.h"

extern "C" __attribute__((visibility("default"))) const char* velmkit_sample_component_name() {
  static std::string name = velmkit::LoadModuleString(reinterpret_cast<const void*>(&velmkit_sample_component_name),
                                                      velmkit::kComponentNameStringId);
  return name.c_str();
}
