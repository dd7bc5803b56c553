#include "elf_sections.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "velmkit/resources.h"

namespace velmkit::elf {

File::File(const std::string& path) : FPath(path) {
  FFd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (FFd < 0) Fail(std::string("cannot be opened: ") + std::strerror(errno));
  struct stat info {};
  if (fstat(FFd, &info) != 0 || !S_ISREG(info.st_mode)) Fail("is not a regular file");
  FSize = static_cast<std::uint64_t>(info.st_size);

  Elf64_Ehdr header{};
  if (FSize < sizeof header) Fail("is too short for an ELF file");
  ReadAt(0, &header, sizeof header);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) Fail("is not an ELF file");
  if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB) {
    Fail("is not a 64-bit little-endian ELF file");
  }
  if (header.e_shnum == 0) return;
  if (header.e_shentsize != sizeof(Elf64_Shdr)) Fail("has section headers of an unknown size");
  if (header.e_shstrndx == SHN_UNDEF || header.e_shstrndx >= header.e_shnum) Fail("has no section name table");

  std::vector<Elf64_Shdr> sections(header.e_shnum);
  ReadAt(header.e_shoff, sections.data(), sizeof(Elf64_Shdr) * sections.size());

  const Elf64_Shdr& names = sections[header.e_shstrndx];
  if (names.sh_type == SHT_NOBITS) Fail("has no section name table");
  if (names.sh_offset > FSize || names.sh_size > FSize - names.sh_offset) Fail("has its section name table beyond the end of the file");
  std::vector<char> nameTable(names.sh_size + 1, '\0');
  ReadAt(names.sh_offset, nameTable.data(), names.sh_size);

  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.sh_size) Fail("has a section name outside its name table");
    std::string name(&nameTable[section.sh_name]);
    std::uint64_t size = section.sh_type == SHT_NOBITS ? 0 : section.sh_size;
    if (section.sh_type != SHT_NOBITS && (section.sh_offset > FSize || size > FSize - section.sh_offset)) {
      Fail("has section " + name + " beyond the end of the file");
    }
    FSections.emplace(name, Section{section.sh_offset, size});
  }
}

File::~File() {
  if (FFd >= 0) close(FFd);
}

std::vector<std::uint8_t> File::Read(const std::string& name) const {
  auto it = FSections.find(name);
  if (it == FSections.end()) return {};
  std::vector<std::uint8_t> bytes(it->second.size);
  ReadAt(it->second.offset, bytes.data(), bytes.size());
  return bytes;
}

void File::ReadAt(std::uint64_t offset, void* buffer, std::uint64_t size) const {
  if (offset > FSize || size > FSize - offset) Fail("is cut short");
  auto* out = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t got = pread(FFd, out, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) Fail("cannot be read");
    out += got;
    offset += static_cast<std::uint64_t>(got);
    size -= static_cast<std::uint64_t>(got);
  }
}

void File::Fail(const std::string& message) const { throw ResourceError(FPath + ": " + message); }

}  // namespace velmkit::elf
