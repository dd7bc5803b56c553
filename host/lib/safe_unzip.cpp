#include "safe_unzip.h"

#include <sys/stat.h>
#include <sys/time.h>
#include <zip.h>

#include <map>
#include <memory>
#include <set>

#include "atomic_file.h"
#include "member_name.h"

namespace velmhost {

namespace fs = std::filesystem;

namespace {

struct ZipCloser {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct Member {
  zip_uint64_t index;
  std::string name;
  bool folder;
  std::time_t modified;
};

std::unique_ptr<zip_t, ZipCloser> OpenArchive(const std::vector<std::uint8_t>& archive) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
  if (source == nullptr) throw UnzipError(std::string("cannot read the archive: ") + zip_error_strerror(&error));
  zip_t* zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (zip == nullptr) {
    zip_source_free(source);
    const std::string why = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw UnzipError("not a readable ZIP archive: " + why);
  }
  zip_error_fini(&error);
  return std::unique_ptr<zip_t, ZipCloser>(zip);
}

// Unix file types other than regular files and folders (links above all)
// could make later writes land outside the folder.
void RefuseSpecialFile(zip_t* zip, zip_uint64_t index, const std::string& name) {
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(zip, index, 0, &system, &attributes) != 0) return;
  if (system != ZIP_OPSYS_UNIX) return;
  const mode_t type = (attributes >> 16) & S_IFMT;
  if (type == S_IFLNK) throw UnzipError(name + ": symbolic link members are refused");
  if (type != 0 && type != S_IFREG && type != S_IFDIR) throw UnzipError(name + ": special file members are refused");
}

std::vector<Member> CheckedMembers(zip_t* zip) {
  std::vector<Member> members;
  std::set<std::string> files;
  std::set<std::string> folders;
  const zip_int64_t count = zip_get_num_entries(zip, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    zip_stat_t stat;
    if (zip_stat_index(zip, index, 0, &stat) != 0 || stat.name == nullptr) throw UnzipError("member " + std::to_string(i + 1) + ": unreadable");
    std::string name = stat.name;
    const bool folder = !name.empty() && name.back() == '/';
    if (folder) name.pop_back();
    if (auto problem = velmtools::MemberNameProblem(name)) throw UnzipError(std::string(stat.name) + ": " + *problem);
    RefuseSpecialFile(zip, index, name);
    // libzip itself refuses an archive with two members of one name.
    if (!folder) files.insert(name);
    // Every prefix of a name is a folder; a file of the same name cannot be.
    for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
      folders.insert(name.substr(0, slash));
    }
    if (folder) folders.insert(name);
    members.push_back({index, name, folder, stat.mtime});
  }
  for (const auto& file : files) {
    if (folders.count(file) != 0) throw UnzipError(file + ": used both as a file and as a folder");
  }
  return members;
}

// Creates each missing folder of `relative` below `root`, refusing to pass
// through anything that is not a plain folder (a link planted earlier).
void MakeFolders(const fs::path& root, const fs::path& relative) {
  fs::path current = root;
  for (const auto& part : relative) {
    current /= part;
    const auto status = fs::symlink_status(current);
    if (status.type() == fs::file_type::not_found) {
      fs::create_directory(current);
    } else if (status.type() != fs::file_type::directory) {
      throw UnzipError(relative.generic_string() + ": " + current.string() + " is not a plain folder");
    }
  }
}

void ExtractFile(zip_t* zip, const Member& member, const fs::path& target) {
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(zip, member.index, 0));
  if (!file) throw UnzipError(member.name + ": " + zip_strerror(zip));
  velmtools::WriteFileAtomically(target, [&](std::ostream& out) {
    char buffer[65536];
    zip_int64_t got;
    while ((got = zip_fread(file.get(), buffer, sizeof buffer)) > 0) out.write(buffer, static_cast<std::streamsize>(got));
    // libzip checks the CRC and the size at the end of the data.
    if (got < 0) throw UnzipError(member.name + ": " + zip_file_strerror(file.get()));
  });
  const timeval times[2] = {{member.modified, 0}, {member.modified, 0}};
  ::utimes(target.c_str(), times);
}

}  // namespace

std::vector<std::string> UnzipInto(const std::vector<std::uint8_t>& archive, const fs::path& folder) {
  auto zip = OpenArchive(archive);
  const std::vector<Member> members = CheckedMembers(zip.get());
  fs::create_directories(folder);
  std::vector<std::string> written;
  for (const auto& member : members) {
    const fs::path relative(member.name);
    if (member.folder) {
      MakeFolders(folder, relative);
      continue;
    }
    MakeFolders(folder, relative.parent_path());
    const fs::path target = folder / relative;
    if (fs::symlink_status(target).type() != fs::file_type::not_found) throw UnzipError(member.name + ": already exists");
    try {
      ExtractFile(zip.get(), member, target);
    } catch (const UnzipError&) {
      throw;
    } catch (const std::exception& error) {
      throw UnzipError(member.name + ": " + error.what());
    }
    written.push_back(member.name);
  }
  return written;
}

}  // namespace velmhost
