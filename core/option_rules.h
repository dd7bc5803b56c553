#pragma once
// What a "Build Options" edit does with its value follows from its tag:
// 10-12 hold paths (quoted in the file), 13-15 numbers the user cannot change,
// 16-17 epoch counts the user types. Tag 0 marks the publishing edits, which
// store nothing.
#include <optional>
#include <string>

namespace velmcore {

enum class OptionRole { Path, Number, Epoch, None };

OptionRole roleOfTag(int tag);

// The text that an edit with `tag` writes after the key, or nothing when the
// text would not keep the file a valid Python module: a path with a double
// quote or a control character, a number that is not decimal digits.
// Paths are stored with forward slashes, which every platform's scripts accept.
std::optional<std::string> storedValueOf(int tag, const std::string& editText);

// What a path edit shows for the stored value: its quotes removed, or the
// default when the value is too short to hold anything between quotes.
bool pathValueIsMissing(const std::string& storedValue);
std::string pathShownFromStored(const std::string& storedValue);

}  // namespace velmcore
