// Reading and writing the project descriptor's XML.
#pragma once

#include <string>

#include "velmkit/items.h"

namespace velmkit {
class TPubFrame;
}

namespace velmkit::descriptor {

// Parses a descriptor file into its element tree. Refuses bytes outside
// US-ASCII, attributes, elements that mix text and child elements, and
// malformed XML, with a DescriptorError naming `fileName` and the line.
XmlElement Parse(const std::string& fileName, const std::string& bytes);

// The descriptor text of a frame, byte for byte as it is stored.
std::string Write(const TPubFrame& frame);

}  // namespace velmkit::descriptor
