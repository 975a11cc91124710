#include "apps/gallery/gallery.h"

#include <algorithm>

#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/platform/stdctrls/panel.h"

namespace vorn::gallery {

namespace {
std::vector<TPage>& Registry() {
  static std::vector<TPage> pages;
  return pages;
}
}  // namespace

bool RegisterPage(TPage Page) {
  Registry().push_back(std::move(Page));
  return true;
}

std::vector<TPage> Pages() {
  std::vector<TPage> pages = Registry();
  std::stable_sort(pages.begin(), pages.end(), [](const TPage& a, const TPage& b) {
    return a.Order != b.Order ? a.Order < b.Order : a.Title < b.Title;
  });
  return pages;
}

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner), FPages(Pages()) {
  SetCaption("vorn gallery");
  SetBounds(40, 40, 1000, 680);
  SetColor(clBtnFace);
  Font()->SetName("Tahoma");
  Font()->SetSize(9);

  auto* nav = new TPanel(this);
  nav->SetParent(this);
  nav->SetWidth(190);
  nav->SetAlign(alLeft);
  nav->SetBevelOuter(bvNone);
  nav->SetColor(RGB(0x2B, 0x3A, 0x4F));
  auto* heading = new TLabel(this);
  heading->SetParent(nav);
  heading->SetLeft(14);
  heading->SetTop(14);
  heading->Font()->SetName("Tahoma");
  heading->Font()->SetSize(13);
  heading->Font()->SetStyle({fsBold});
  heading->Font()->SetColor(clWhite);
  heading->SetCaption("vorn");
  // The page buttons share the height below the heading, 30 pixels each
  // at most, so that every page stays reachable however many there are.
  const int count = std::max<int>(1, static_cast<int>(FPages.size()));
  const int step = std::clamp((Height() - 52 - 8) / count, 20, 30);
  int y = 52;
  for (std::size_t i = 0; i < FPages.size(); ++i) {
    auto* b = new TButton(this);
    b->SetParent(nav);
    b->SetBounds(10, y, 170, step - 4);
    b->SetCaption(FPages[i].Title);
    b->SetOnClick([this, i](TObject*) { ShowPage(i); });
    FButtons.push_back(b);
    y += step;
  }

  auto* content = new TPanel(this);
  content->SetParent(this);
  content->SetAlign(alClient);
  content->SetBevelOuter(bvNone);
  content->SetColor(clWindow);
  FContent = content;
  FTitle = new TLabel(this);
  FTitle->SetParent(content);
  FTitle->SetBounds(20, 14, 600, 24);
  FTitle->Font()->SetName("Tahoma");
  FTitle->Font()->SetSize(14);
  FTitle->Font()->SetStyle({fsBold});
  FDescription = new TLabel(this);
  FDescription->SetParent(content);
  FDescription->SetAutoSize(false);
  FDescription->SetWordWrap(true);
  FDescription->SetBounds(20, 44, 760, 40);
  FDescription->Font()->SetColor(clGray);
  if (!FPages.empty()) ShowPage(0);
}

void TGalleryForm::ShowPage(std::size_t Index) {
  if (Index >= FPages.size()) return;
  delete FPageArea;
  auto* area = new TPanel(this);
  area->SetBevelOuter(bvNone);
  area->SetColor(clWindow);
  area->SetBounds(20, 90, 770, 560);
  area->SetParent(FContent);
  FPageArea = area;
  FTitle->SetCaption(FPages[Index].Title);
  FDescription->SetCaption(FPages[Index].Description);
  for (std::size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetDefault(i == Index);
  if (FPages[Index].Build) FPages[Index].Build(*area);
  area->Invalidate();
}

}  // namespace vorn::gallery
