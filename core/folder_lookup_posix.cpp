#include "folder_lookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <velmkit/strings.h>

namespace velmcore {

std::string entryNameIgnoringCase(const std::string& folder, const std::string& name) {
    struct stat info {};
    if (::lstat((folder + "/" + name).c_str(), &info) == 0) {
        return name;
    }
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
        return name;
    }
    std::string match;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (velmkit::SameText(entry->d_name, name)) {
            match = entry->d_name;
            ++matches;
        }
    }
    return matches == 1 ? match : name;
}

}  // namespace velmcore
