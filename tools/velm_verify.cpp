// velm-verify <archive.zip>: lists every way in which an archive differs from
// a template archive; exit status 1 when there is any.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "archive_check.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velm-verify <archive.zip>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "velm-verify: %s: cannot open\n", argv[1]);
    return 2;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto violations = velmtools::CheckTemplateArchive(bytes.data(), bytes.size());
  for (const auto& violation : violations) {
    if (violation.member.empty()) {
      std::printf("%s: %s\n", argv[1], violation.message.c_str());
    } else {
      std::printf("%s: %s: %s\n", argv[1], violation.member.c_str(), violation.message.c_str());
    }
  }
  return violations.empty() ? 0 : 1;
}
