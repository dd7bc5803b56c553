// File routines of the platform.
#pragma once

#include <string>

#include "velmkit/classes.h"

namespace velmkit {

// A regular file (or a link to one) exists at `path`.
VELMKIT_API bool FileExists(const std::string& path);
// A folder (or a link to one) exists at `path`.
VELMKIT_API bool DirectoryExists(const std::string& path);
// Creates one folder level; false when it exists already, its parent is
// missing, or rights are lacking.
VELMKIT_API bool CreateDir(const std::string& path);

// Moves a file or folder to the user's trash as the freedesktop.org trash
// specification describes, with an info/<name>.trashinfo that records where
// it was and when, so that it can be restored. The home trash
// ($XDG_DATA_HOME/Trash, default ~/.local/share/Trash) takes what lies on its
// own file system; a path on another file system goes to the trash at the top
// of that one ($topdir/.Trash/$uid when $topdir/.Trash is a sticky folder,
// else $topdir/.Trash-$uid), so that nothing is copied. A name already in the
// trash gets a suffix (".2", ".3", ...). False, and nothing moved, when no
// trash can be written.
VELMKIT_API bool MoveToTrash(const std::string& path);
// The home trash folder (.../Trash, holding files/ and info/).
VELMKIT_API std::string TrashFolder();
// The trash folder MoveToTrash uses for `path`.
VELMKIT_API std::string TrashFolderFor(const std::string& path);

// Copies `source` to `target` without ever replacing a file at `target`, even
// one that appears during the copy: the data goes to a temporary file beside
// the target, which is then linked to the target name (refused when that name
// exists) and unlinked. False when the target exists or the copy fails; no
// partial target is left.
VELMKIT_API bool CopyFileNoOverwrite(const std::string& source, const std::string& target);

// Writes `content` to a temporary file beside `path` and renames it into
// place, so that readers see either the old or the new file whole. False when
// it cannot; the old file is then untouched.
VELMKIT_API bool WriteFileAtomically(const std::string& path, const std::string& content);
// The whole file; false when it cannot be read.
VELMKIT_API bool ReadWholeFile(const std::string& path, std::string& content);

}  // namespace velmkit
