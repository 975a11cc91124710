#include "vorn/platform/runtime/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vorn {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("vorn-files-test-" + std::to_string(::getpid()));
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override {
    fs::permissions(FDir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(FDir);
  }

  static void Save(const fs::path& File, const std::string& Text) {
    SaveFileAtomically(File.string(), [&](std::ostream& out) { out << Text; });
  }
  static std::string Read(const fs::path& File) {
    std::ifstream in(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static unsigned ModeOf(const fs::path& File) {
    struct stat st {};
    EXPECT_EQ(::stat(File.c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  [[nodiscard]] std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()));
  }

  fs::path FDir;
};

TEST_F(FilesTest, AReplacedFileKeepsItsModeAndANewFileGetsTheUsualOne) {
  const fs::path secret = FDir / "secret.txt";
  Save(secret, "one");
  ::chmod(secret.c_str(), 0600);
  Save(secret, "two");
  EXPECT_EQ(Read(secret), "two");
  EXPECT_EQ(ModeOf(secret), 0600u);
  ::chmod(secret.c_str(), 0640);
  Save(secret, "three");
  EXPECT_EQ(ModeOf(secret), 0640u);

  const mode_t mask = ::umask(022);
  Save(FDir / "new.txt", "x");
  ::umask(mask);
  EXPECT_EQ(ModeOf(FDir / "new.txt"), 0644u);
}

TEST_F(FilesTest, ASaveThroughASymbolicLinkWritesTheLinkedFile) {
  fs::create_directories(FDir / "real");
  const fs::path target = FDir / "real" / "data.txt";
  Save(target, "old");
  fs::create_symlink("real/data.txt", FDir / "link1");  // relative to the link's folder
  fs::create_symlink(FDir / "link1", FDir / "link2");   // a chain
  Save(FDir / "link2", "new");
  EXPECT_TRUE(fs::is_symlink(FDir / "link1"));
  EXPECT_TRUE(fs::is_symlink(FDir / "link2"));
  EXPECT_EQ(Read(target), "new");
  EXPECT_EQ(fs::read_symlink(FDir / "link2"), FDir / "link1");

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("real/later.txt", FDir / "dangling");
  Save(FDir / "dangling", "made");
  EXPECT_EQ(Read(FDir / "real" / "later.txt"), "made");
  EXPECT_TRUE(fs::is_symlink(FDir / "dangling"));

  fs::create_symlink("loop", FDir / "loop");
  EXPECT_THROW(Save(FDir / "loop", "x"), EFileError);
}

TEST_F(FilesTest, LongNamesSaveAndTheTemporaryNameIsShort) {
  const fs::path longName = FDir / std::string(255, 'n');
  Save(longName, "long");
  EXPECT_EQ(Read(longName), "long");

  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    std::string name;
    const int fd = CreateTemporaryFile(FDir.string(), 0600, name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(fs::path(name).parent_path(), FDir);
    EXPECT_LE(fs::path(name).filename().string().size(), 12u);
    EXPECT_EQ(ModeOf(name), 0600u);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);  // unguessable names do not repeat
}

TEST_F(FilesTest, ExclusiveCreationNeverFollowsAPlantedLink) {
  const fs::path victim = FDir / "victim.txt";
  Save(victim, "precious");
  fs::create_symlink(victim, FDir / "planted");
  fs::create_symlink(FDir / "nowhere", FDir / "planted-dangling");
  EXPECT_LT(CreateFileExclusively((FDir / "planted").string(), 0600), 0);
  EXPECT_LT(CreateFileExclusively((FDir / "planted-dangling").string(), 0600), 0);
  EXPECT_LT(CreateFileExclusively(victim.string(), 0600), 0);
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_FALSE(fs::exists(FDir / "nowhere"));
}

TEST_F(FilesTest, ReadOnlyTargetsAndFailuresLeaveEverythingAsItWas) {
  const fs::path frozen = FDir / "frozen.txt";
  Save(frozen, "keep");
  ::chmod(frozen.c_str(), 0444);
  EXPECT_THROW(Save(frozen, "lost"), EFileError);
  EXPECT_EQ(Read(frozen), "keep");
  EXPECT_EQ(ModeOf(frozen), 0444u);
  EXPECT_EQ(Entries(), 1u);

  fs::create_directories(FDir / "folder");
  EXPECT_THROW(Save(FDir / "folder", "x"), EFileError);
  EXPECT_THROW(Save(FDir / "no" / "such" / "file", "x"), EFileError);
  EXPECT_EQ(Entries(), 2u);  // no temporary file left behind
}

}  // namespace
}  // namespace vorn
