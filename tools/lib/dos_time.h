// MS-DOS date and time fields as ZIP members carry them (local time, two
// second resolution, years 1980 to 2107).
#pragma once

#include <cstdint>
#include <ctime>

namespace velmtools {

struct DosTimestamp {
  std::uint16_t time = 0;
  std::uint16_t date = 0;
  bool operator==(const DosTimestamp& other) const { return time == other.time && date == other.date; }
};

// Local time of `when`; moments outside the DOS range are clamped to its ends.
DosTimestamp ToDosTimestamp(std::time_t when);

// True when every field is inside its calendar range.
bool IsValidDosTimestamp(DosTimestamp stamp);

}  // namespace velmtools
