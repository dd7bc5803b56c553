// libFuzzer target for the archive verifier: it must never read out of bounds,
// loop forever or crash, whatever the bytes.
#include <cstddef>
#include <cstdint>

#include "archive_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmtools::CheckTemplateArchive(data, size);
  return 0;
}
