// The gallery: pages that show the library's components, each with a
// short description. Pages register themselves with VORN_GALLERY_PAGE.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vorn/platform/controls/forms.h"

namespace vorn {
class TLabel;
class TButton;
}  // namespace vorn

namespace vorn::gallery {

struct TPage {
  int Order = 0;  // pages are listed by this, then by title
  std::string Id;
  std::string Title;
  std::string Description;
  // Creates the page's controls on Parent (owned by Parent's form).
  std::function<void(TWinControl& Parent)> Build;
};

bool RegisterPage(TPage Page);
std::vector<TPage> Pages();

// The gallery window: a list of pages on the left, the chosen page on the
// right. ShowPage switches pages.
class TGalleryForm : public TForm {
 public:
  explicit TGalleryForm(TComponent* AOwner);
  void ShowPage(std::size_t Index);
  [[nodiscard]] std::size_t PageCount() const { return FPages.size(); }
  [[nodiscard]] const TPage& Page(std::size_t Index) const { return FPages.at(Index); }

 private:
  std::vector<TPage> FPages;
  TWinControl* FContent = nullptr;
  TWinControl* FPageArea = nullptr;
  TLabel* FTitle = nullptr;
  TLabel* FDescription = nullptr;
  std::vector<TButton*> FButtons;
};

}  // namespace vorn::gallery

#define VORN_GALLERY_CONCAT2(a, b) a##b
#define VORN_GALLERY_CONCAT(a, b) VORN_GALLERY_CONCAT2(a, b)
#define VORN_GALLERY_PAGE(...) \
  static const bool VORN_GALLERY_CONCAT(vorn_gallery_page_, __LINE__) = ::vorn::gallery::RegisterPage(__VA_ARGS__)
