#include "velmkit/strings.h"

#include <stdexcept>

namespace velmkit {

std::string UpperCase(const std::string& text) {
  std::string result = text;
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

std::string StripHotkey(const std::string& caption) {
  std::string result;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        result += '&';
        ++i;
      }
      continue;
    }
    result += caption[i];
  }
  return result;
}

const std::string& TStringList::Strings(int index) const {
  return FItems.at(static_cast<size_t>(index)).text;
}

TObject* TStringList::Objects(int index) const { return FItems.at(static_cast<size_t>(index)).object; }

void TStringList::SetObject(int index, TObject* object) {
  FItems.at(static_cast<size_t>(index)).object = object;
}

void TStringList::Add(const std::string& text, TObject* object) { FItems.push_back({text, object}); }

int TStringList::IndexOf(const std::string& text) const {
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

std::string TStringList::QuotedText() const {
  std::string result;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i > 0) result += ',';
    result += '"';
    for (char c : FItems[i].text) {
      if (c == '"') result += '"';
      result += c;
    }
    result += '"';
  }
  return result;
}

void TStringList::SetQuotedText(const std::string& text) {
  std::vector<Item> items;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '"') {
      throw std::invalid_argument("entry " + std::to_string(items.size() + 1) + " does not start with a double quote");
    }
    ++i;
    std::string entry;
    bool closed = false;
    while (i < text.size()) {
      if (text[i] == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          entry += '"';
          i += 2;
          continue;
        }
        ++i;
        closed = true;
        break;
      }
      entry += text[i++];
    }
    if (!closed) throw std::invalid_argument("entry " + std::to_string(items.size() + 1) + " has no closing double quote");
    items.push_back({entry, nullptr});
    if (i < text.size()) {
      if (text[i] != ',' || i + 1 == text.size()) {
        throw std::invalid_argument("entries must be separated by single commas");
      }
      ++i;
    }
  }
  FItems = std::move(items);
}

}  // namespace velmkit
