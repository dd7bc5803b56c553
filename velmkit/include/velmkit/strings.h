// Text helpers and the string list with attached objects that the project
// frame uses for its build, edit and public lists.
#pragma once

#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

// ASCII upper case; other bytes (UTF-8 sequences) stay as they are.
VELMKIT_API std::string UpperCase(const std::string& text);
// Equal apart from ASCII letter case.
VELMKIT_API bool SameText(const std::string& a, const std::string& b);
// Caption without its accelerator marks: "Create &Class" -> "Create Class",
// "&&" -> "&".
VELMKIT_API std::string StripHotkey(const std::string& caption);

// Strings with an optional object each; the list does not own the objects.
class VELMKIT_API TStringList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // Both accessors throw std::out_of_range for a bad index.
  const std::string& Strings(int index) const;
  TObject* Objects(int index) const;
  void SetObject(int index, TObject* object);
  void Add(const std::string& text, TObject* object = nullptr);
  void Clear() { FItems.clear(); }
  int IndexOf(const std::string& text) const;  // -1 when absent

  // The descriptor's list notation: each entry in double quotes (a quote
  // inside doubled), separated by commas without blanks: "HTML","train_all".
  std::string QuotedText() const;
  // Replaces the entries, dropping objects. Throws std::invalid_argument on
  // text not in that notation; the list is unchanged then.
  void SetQuotedText(const std::string& text);

 private:
  struct Item {
    std::string text;
    TObject* object;
  };
  std::vector<Item> FItems;
};

}  // namespace velmkit
