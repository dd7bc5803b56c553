#include <algorithm>
#include <cstdio>
#include <pugixml.hpp>
#include <vector>

#include "descriptor.h"
#include "velmkit/pubframe.h"

namespace velmkit::descriptor {
namespace {

class LineMap {
 public:
  explicit LineMap(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') FLineEnds.push_back(static_cast<ptrdiff_t>(i));
    }
  }
  int LineOf(ptrdiff_t offset) const {
    auto it = std::lower_bound(FLineEnds.begin(), FLineEnds.end(), offset);
    return static_cast<int>(it - FLineEnds.begin()) + 1;
  }

 private:
  std::vector<ptrdiff_t> FLineEnds;
};

void RequireAscii(const std::string& fileName, const std::string& bytes, const LineMap& lines) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x80 || byte == 0) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", byte);
      throw DescriptorError(fileName, lines.LineOf(static_cast<ptrdiff_t>(i)),
                            std::string("byte ") + hex + " is not US-ASCII text");
    }
  }
}

XmlElement Convert(const std::string& fileName, const pugi::xml_node& node, const LineMap& lines) {
  XmlElement element;
  element.name = node.name();
  element.line = lines.LineOf(node.offset_debug());
  if (node.first_attribute()) {
    throw DescriptorError(fileName, element.line,
                          "element <" + element.name + "> has attribute \"" + node.first_attribute().name() +
                              "\"; values belong in elements");
  }
  for (pugi::xml_node child : node.children()) {
    switch (child.type()) {
      case pugi::node_element:
        element.children.push_back(Convert(fileName, child, lines));
        break;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        element.text += child.value();
        break;
      default:
        break;  // comments and processing instructions carry nothing
    }
  }
  if (!element.children.empty() && element.text.find_first_not_of(" \t\r\n") != std::string::npos) {
    throw DescriptorError(fileName, element.line, "element <" + element.name + "> mixes text and elements");
  }
  if (!element.children.empty()) element.text.clear();
  return element;
}

}  // namespace

XmlElement Parse(const std::string& fileName, const std::string& bytes) {
  LineMap lines(bytes);
  RequireAscii(fileName, bytes, lines);
  pugi::xml_document document;
  pugi::xml_parse_result result =
      document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
  if (!result) {
    throw DescriptorError(fileName, lines.LineOf(result.offset), std::string("malformed XML: ") + result.description());
  }
  pugi::xml_node root = document.document_element();
  if (!root) throw DescriptorError(fileName, 1, "no root element");
  return Convert(fileName, root, lines);
}

}  // namespace velmkit::descriptor
