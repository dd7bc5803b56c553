// velm-pack <template-folder> <out.zip>: packs a project template into the
// archive that a module library carries.
#include <cstdio>
#include <exception>

#include "template_pack.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velm-pack <template-folder> <out.zip>\n");
    return 2;
  }
  try {
    velmtools::PackTemplateFolder(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velm-pack: %s\n", error.what());
    return 1;
  }
  return 0;
}
