#include "dos_time.h"

namespace velmtools {

namespace {

DosTimestamp Compose(int year, int month, int day, int hour, int minute, int second) {
  DosTimestamp stamp;
  stamp.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  stamp.time = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  return stamp;
}

}  // namespace

DosTimestamp ToDosTimestamp(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return Compose(1980, 1, 1, 0, 0, 0);
  const int year = local.tm_year + 1900;
  if (year < 1980) return Compose(1980, 1, 1, 0, 0, 0);
  if (year > 2107) return Compose(2107, 12, 31, 23, 59, 58);
  // tm_sec may be 60 on a leap second; DOS time has no room for it.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return Compose(year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second);
}

bool IsValidDosTimestamp(DosTimestamp stamp) {
  const int day = stamp.date & 0x1F;
  const int month = (stamp.date >> 5) & 0x0F;
  const int halfSeconds = stamp.time & 0x1F;
  const int minute = (stamp.time >> 5) & 0x3F;
  const int hour = stamp.time >> 11;
  return day >= 1 && month >= 1 && month <= 12 && halfSeconds < 30 && minute < 60 && hour < 24;
}

}  // namespace velmtools
