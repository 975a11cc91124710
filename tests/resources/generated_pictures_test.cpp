// The built-in pictures that vorn-resgen draws must be what is committed
// and compiled into the library: a change of a drawing rule or of a
// picture's code that is not followed by a fresh run shows up here.
#include <gtest/gtest.h>

#ifdef VORN_HAVE_RESGEN

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "apps/resgen/pictures.h"
#include "vorn/resources/resources.h"

namespace vorn {
namespace {

TEST(GeneratedPictures, CommittedAndBuiltInCopiesEqualAFreshDrawing) {
  for (const resgen::TGeneratedPicture& p : resgen::AllPictures()) {
    TBitmap bmp(p.Width, p.Height);
    p.Draw(bmp);
    std::ostringstream fresh;
    bmp.SaveToPngStream(fresh);
    const std::string file = std::string(VORN_RESOURCE_IMAGES_DIR) + "/" + p.Name + ".png";
    std::ifstream in(file, std::ios::binary);
    const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(committed, fresh.str()) << file << " differs from a fresh run of vorn-resgen";
    const TResourceImage* res = FindResourceImage(p.Name);
    ASSERT_NE(res, nullptr) << p.Name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(res->Data), res->Size), fresh.str()) << p.Name;
  }
}

}  // namespace
}  // namespace vorn
#endif
