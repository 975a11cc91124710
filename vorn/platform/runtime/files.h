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

// Writes a file through a temporary file beside it, flushed to disk and
// then renamed over the target, so that a failure at any point (an
// exception from Write included) leaves an earlier file untouched.
void SaveFileAtomically(const std::string& FileName,
                        const std::function<void(std::ostream&)>& Write);

}  // namespace vorn
