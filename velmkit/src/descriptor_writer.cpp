#include <stdexcept>
#include <string>
#include <vector>

#include "descriptor.h"
#include "velmkit/pubframe.h"

namespace velmkit::descriptor {
namespace {

const char* const kLineEnd = "\r\n";

// Decodes one UTF-8 sequence at `at`; returns its code point and advances, or
// throws for a sequence that is not valid UTF-8.
unsigned DecodeUtf8(const std::string& text, size_t& at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned lead = byte(at);
  int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || at + static_cast<size_t>(length) > text.size()) {
    throw std::runtime_error("text \"" + text + "\" is not valid UTF-8");
  }
  unsigned code = lead & (0x7Fu >> length);
  for (int i = 1; i < length; ++i) {
    unsigned next = byte(at + static_cast<size_t>(i));
    if ((next & 0xC0) != 0x80) throw std::runtime_error("text \"" + text + "\" is not valid UTF-8");
    code = (code << 6) | (next & 0x3F);
  }
  const unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    throw std::runtime_error("text \"" + text + "\" is not valid UTF-8");
  }
  at += static_cast<size_t>(length);
  return code;
}

// Element text in US-ASCII: markup characters escaped, line breaks and
// everything beyond ASCII as character references so they read back the same.
std::string Escape(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    auto c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      out += "&#" + std::to_string(DecodeUtf8(text, at)) + ";";
      continue;
    }
    ++at;
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r': out += "&#13;"; break;
      case '\n': out += "&#10;"; break;
      case '\t': out += '\t'; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          throw std::runtime_error("text \"" + text + "\" holds a control character that XML cannot carry");
        }
        out += static_cast<char>(c);
    }
  }
  return out;
}

class Writer {
 public:
  void Value(int depth, const std::string& name, const std::string& text) {
    Line(depth, "<" + name + ">" + Escape(text) + "</" + name + ">");
  }
  void Open(int depth, const std::string& name) { Line(depth, "<" + name + ">"); }
  void Close(int depth, const std::string& name) { Line(depth, "</" + name + ">"); }

  void Element(int depth, const XmlElement& element) {
    if (element.children.empty()) {
      Value(depth, element.name, element.text);
      return;
    }
    Open(depth, element.name);
    for (const XmlElement& child : element.children) Element(depth + 1, child);
    Close(depth, element.name);
  }

  void List(int depth, const TVelmList& list) {
    if (list.Count() == 0) {
      Value(depth, "list", "");
      return;
    }
    Open(depth, "list");
    for (int i = 0; i < list.Count(); ++i) {
      if (auto* item = dynamic_cast<const TVelmContainer*>(list.At(i))) {
        Item(depth + 1, *item);
      } else if (auto* kept = dynamic_cast<const TKeptElement*>(list.At(i))) {
        Element(depth + 1, kept->Element());
      }
    }
    Close(depth, "list");
  }

  void Item(int depth, const TVelmContainer& item) {
    const std::string name = item.ClassName();
    Open(depth, name);
    Value(depth + 1, "Name", item.Name());
    Value(depth + 1, "Source", item.Source());
    Value(depth + 1, "Path", item.PathText());
    Value(depth + 1, "FileName", item.FileName());
    if (item.PublicPath()) Value(depth + 1, "PublicPath", *item.PublicPath());
    if (item.Thumbnail()) Value(depth + 1, "Thumbnail", *item.Thumbnail());
    for (const XmlElement& extra : item.ExtraElements()) Element(depth + 1, extra);
    if (item.Count() > 0) List(depth + 1, item);
    Close(depth, name);
  }

  std::string Text() const { return FText; }

 private:
  void Line(int depth, const std::string& text) {
    if (!FText.empty()) FText += kLineEnd;
    FText.append(static_cast<size_t>(depth), '\t');
    FText += text;
  }
  std::string FText;
};

}  // namespace

std::string Write(const TPubFrame& frame) {
  Writer writer;
  std::string text = "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>";
  writer.Open(0, "TPwaFrame");
  writer.Value(1, "PluginModule", frame.PluginModule());
  writer.Value(1, "PluginProduct", frame.PluginProduct());
  writer.Value(1, "Source", frame.Source());
  writer.Value(1, "BuildList", frame.BuildList()->QuotedText());
  writer.Value(1, "EditList", frame.EditList()->QuotedText());
  writer.Value(1, "PublicList", frame.PublicList()->QuotedText());
  if (!frame.PublicUrl().empty()) writer.Value(1, "PublicUrl", frame.PublicUrl());
  for (const XmlElement& extra : frame.ExtraElements()) writer.Element(1, extra);
  writer.List(1, frame);
  writer.Close(0, "TPwaFrame");
  return text + kLineEnd + writer.Text();
}

}  // namespace velmkit::descriptor
