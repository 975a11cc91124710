#include "vorn/platform/runtime/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

namespace vorn {

namespace {

std::string TemporaryNameFor(const std::string& FileName) {
  std::random_device rd;
  return FileName + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(rd() % 1000000);
}

void SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void SaveFileAtomically(const std::string& FileName,
                        const std::function<void(std::ostream&)>& Write) {
  const std::string temp = TemporaryNameFor(FileName);
  try {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw EFileError("Cannot create file \"" + FileName + "\": " + std::strerror(errno));
    Write(out);
    out.flush();
    if (!out) throw EFileError("Cannot write file \"" + FileName + "\"");
    out.close();
    if (out.fail()) throw EFileError("Cannot write file \"" + FileName + "\"");
    SyncFile(temp);
    if (std::rename(temp.c_str(), FileName.c_str()) != 0) {
      throw EFileError("Cannot replace file \"" + FileName + "\": " + std::strerror(errno));
    }
  } catch (...) {
    std::remove(temp.c_str());
    throw;
  }
}

}  // namespace vorn
