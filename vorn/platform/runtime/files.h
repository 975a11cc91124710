// File helpers shared by every unit that writes files.
#pragma once

#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>

namespace vorn {

// Raised when a file cannot be opened, written or replaced; the message
// names the file.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes a file through a temporary file beside it, so that a failure at
// any point (an exception from Write included) leaves an earlier file
// untouched and no temporary file behind.
//
// - A name that is a symbolic link (or a chain of them) saves to the file
//   the link points to; the link stays.
// - A replaced file keeps its permission bits, and its owner and group
//   where the process may set them. A new file gets the usual mode for new
//   files (0666 less the process's umask).
// - A target without any write permission bit (a read-only file) is
//   refused, as is a target that is not a regular file.
// - The temporary file is created with a short unguessable name in the
//   target's folder, exclusively and without following a symbolic link at
//   that name, flushed to disk, and then renamed over the target.
void SaveFileAtomically(const std::string& FileName,
                        const std::function<void(std::ostream&)>& Write);

// The file a save of FileName writes: FileName itself, or the end of the
// chain of symbolic links it names (a link target that does not exist yet
// included). Raises EFileError for a chain that loops or is too long.
std::string SaveTargetOf(const std::string& FileName);

// Creates the file Name for writing only when nothing, not even a symbolic
// link, stands at that name (O_CREAT | O_EXCL | O_NOFOLLOW). Returns the
// descriptor, or -1 with errno set.
int CreateFileExclusively(const std::string& Name, unsigned Mode);

// A new, empty file created exclusively in Folder under a short random
// name (".~" and 10 letters and digits), never through a symbolic link;
// Mode as for open(2). Returns the open descriptor and sets Name to the
// file's path. Raises EFileError when no such file can be created.
int CreateTemporaryFile(const std::string& Folder, unsigned Mode, std::string& Name);

}  // namespace vorn
