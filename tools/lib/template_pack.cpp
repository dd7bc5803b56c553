#include "template_pack.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "atomic_file.h"
#include "template_files.h"
#include "zip_writer.h"

namespace velmtools {

namespace fs = std::filesystem;

namespace {

Bytes ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot open");
  Bytes content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error(path.string() + ": read failed");
  return content;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

void PackTemplateFolder(const fs::path& folder, const fs::path& archive) {
  const fs::path absoluteFolder = fs::weakly_canonical(fs::absolute(folder));
  const fs::path absoluteArchive = fs::weakly_canonical(fs::absolute(archive));
  // An archive inside the folder would be packed into its own next version.
  if (IsInside(absoluteArchive, absoluteFolder)) {
    throw std::runtime_error(archive.string() + ": the archive must not lie inside the template folder");
  }
  const std::vector<TemplateFile> files = ListTemplateFiles(absoluteFolder);
  if (files.empty()) throw std::runtime_error(folder.string() + ": no files to pack");
  WriteFileAtomically(absoluteArchive, [&](std::ostream& out) {
    ZipWriter writer(out);
    for (const auto& file : files) {
      const Bytes content = ReadWholeFile(file.path);
      try {
        writer.Add(file.memberName, content, ToDosTimestamp(file.modified));
      } catch (const std::runtime_error& error) {
        // The writer names the member; say which folder it came from.
        throw std::runtime_error(folder.string() + "/" + error.what());
      }
    }
    writer.Finish();
  });
}

}  // namespace velmtools
