#include "vorn/platform/runtime/files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <vector>

namespace vorn {

namespace {

constexpr int kMaxLinkDepth = 40;  // as the system's own limit for path lookups
constexpr std::size_t kRandomLetters = 10;
constexpr int kCreateAttempts = 100;

std::string ErrorText() { return std::strerror(errno); }

std::string FolderOf(const std::string& Path) {
  const std::size_t slash = Path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : Path.substr(0, slash);
}

std::string RandomLetters() {
  static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::array<unsigned char, kRandomLetters> bytes{};
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::getrandom(bytes.data() + got, bytes.size() - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EFileError(std::string("No random source for a temporary file name: ") + ErrorText());
    got += static_cast<std::size_t>(n);
  }
  std::string out;
  // The small bias of the modulo does not matter for a name that only has
  // to be unguessable.
  for (const unsigned char b : bytes) out += kAlphabet[b % kAlphabet.size()];
  return out;
}

// An output buffer over a descriptor; write errors set the stream's badbit.
class TDescriptorBuf : public std::streambuf {
 public:
  explicit TDescriptorBuf(int Fd) : FFd(Fd), FBuffer(std::size_t{1} << 16) {
    setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
  }

 protected:
  int_type overflow(int_type C) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(C, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(C);
      pbump(1);
    }
    return traits_type::not_eof(C);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    const char* p = pbase();
    while (p < pptr()) {
      const ssize_t n = ::write(FFd, p, static_cast<std::size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n;
    }
    setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
    return true;
  }

  int FFd;
  std::vector<char> FBuffer;
};

// The temporary file of one save: removed unless Commit renamed it.
class TTemporaryFile {
 public:
  TTemporaryFile(const std::string& Folder, unsigned Mode) : FFd(CreateTemporaryFile(Folder, Mode, FName)) {}
  ~TTemporaryFile() {
    if (FFd >= 0) ::close(FFd);
    if (!FName.empty()) ::unlink(FName.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  [[nodiscard]] int Fd() const { return FFd; }

  // Flushes the file to disk, closes it and renames it to Target.
  void Commit(const std::string& Target, const std::string& FileName) {
    if (::fsync(FFd) != 0) throw EFileError("Cannot write file \"" + FileName + "\": " + ErrorText());
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0) throw EFileError("Cannot write file \"" + FileName + "\": " + ErrorText());
    if (::rename(FName.c_str(), Target.c_str()) != 0)
      throw EFileError("Cannot replace file \"" + FileName + "\": " + ErrorText());
    FName.clear();
  }

 private:
  std::string FName;
  int FFd;
};

// Gives the new file the replaced file's permission bits, and its owner
// and group where allowed (a process that does not own the file may not
// give it away; that is not an error).
void TakeOverAttributes(int Fd, const struct stat& Old, const std::string& FileName) {
  if (::fchmod(Fd, Old.st_mode & 07777) != 0)
    throw EFileError("Cannot set the permissions of file \"" + FileName + "\": " + ErrorText());
  struct stat now {};
  if (::fstat(Fd, &now) == 0 && (now.st_uid != Old.st_uid || now.st_gid != Old.st_gid) &&
      ::fchown(Fd, Old.st_uid, Old.st_gid) == 0) {
    // Changing the owner may clear set-user-ID bits; put them back.
    (void)::fchmod(Fd, Old.st_mode & 07777);
  }
}

// Syncs the folder so that the rename itself survives a crash.
void SyncFolder(const std::string& Folder) {
  const int fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string SaveTargetOf(const std::string& FileName) {
  std::string path = FileName;
  for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(std::max<std::size_t>(static_cast<std::size_t>(st.st_size), 4096) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) throw EFileError("Cannot read the link \"" + FileName + "\": " + ErrorText());
    if (static_cast<std::size_t>(n) >= link.size()) continue;  // the link changed meanwhile: look again
    link.resize(static_cast<std::size_t>(n));
    path = link.starts_with('/') ? link : FolderOf(path) + "/" + link;
  }
  throw EFileError("Cannot save file \"" + FileName + "\": too many levels of symbolic links");
}

int CreateFileExclusively(const std::string& Name, unsigned Mode) {
  return ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Mode);
}

int CreateTemporaryFile(const std::string& Folder, unsigned Mode, std::string& Name) {
  const std::string prefix = (Folder.empty() ? std::string(".") : Folder) + "/.~";
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    std::string candidate = prefix + RandomLetters();
    const int fd = CreateFileExclusively(candidate, Mode);
    if (fd >= 0) {
      Name = std::move(candidate);
      return fd;
    }
    if (errno != EEXIST && errno != EINTR)
      throw EFileError("Cannot create a file in \"" + Folder + "\": " + ErrorText());
  }
  throw EFileError("Cannot create a file in \"" + Folder + "\": every name tried exists");
}

void SaveFileAtomically(const std::string& FileName,
                        const std::function<void(std::ostream&)>& Write) {
  const std::string target = SaveTargetOf(FileName);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode))
    throw EFileError("Cannot replace \"" + FileName + "\": it is not a regular file");
  // Checked on the permission bits, not with access(): a privileged process
  // could write anyway, and a save should still leave a read-only file alone.
  if (replacing && (old.st_mode & 0222) == 0)
    throw EFileError("Cannot replace file \"" + FileName + "\": the file is read-only");
  const std::string folder = FolderOf(target);
  std::unique_ptr<TTemporaryFile> temp;
  try {
    // A replaced file's contents stay private until its mode is copied.
    temp = std::make_unique<TTemporaryFile>(folder, replacing ? 0600u : 0666u);
  } catch (const EFileError& e) {
    throw EFileError("Cannot create file \"" + FileName + "\": " + e.what());
  }
  if (replacing) TakeOverAttributes(temp->Fd(), old, FileName);
  TDescriptorBuf buf(temp->Fd());
  std::ostream out(&buf);
  Write(out);
  out.flush();
  if (!out) throw EFileError("Cannot write file \"" + FileName + "\": " + ErrorText());
  temp->Commit(target, FileName);
  SyncFolder(folder);
}

}  // namespace vorn
