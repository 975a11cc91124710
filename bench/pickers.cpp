// The pickers: the month calendar's paint at 300 x 180, repainted and
// drawn afresh, against a FillRect of the same area; the thumbnail viewer's paint with 100,000 slides
// against 100 slides at the same size (only the visible slides are asked
// for and drawn); expanding a folder of 10,000 subfolders against listing
// it with readdir.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/support/ratio.h"
#include "vorn/pickers/foldertree.h"
#include "vorn/pickers/minical.h"
#include "vorn/pickers/thumbnails.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace {

using namespace vorn;

// Controls on a shown form, kept to the end of the program: the host they
// sit on outlives them.
template <typename T>
T* Shown(int W, int H) {
  static auto* forms = new std::map<std::string, std::unique_ptr<TForm>>;
  auto& form = (*forms)[typeid(T).name() + std::to_string(W)];
  form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, W + 20, H + 20);
  auto* control = new T(form.get());
  control->SetParent(form.get());
  control->SetBounds(0, 0, W, H);
  form->Show();
  return control;
}

void BM_FillRect_300x180(benchmark::State& state) {
  TBitmap bmp(300, 180);
  TCanvas& c = *bmp.Canvas();
  int i = 0;
  for (auto _ : state) {
    c.Brush()->SetColor((++i & 1) ? 0xC0C0C0 : 0xC0C0C1);
    c.FillRect(Rect(0, 0, 300, 180));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}
BENCHMARK(BM_FillRect_300x180);

void BM_MiniCal_Paint(benchmark::State& state) {
  static TMiniCal* cal = Shown<TMiniCal>(300, 180);
  cal->SetDate(EncodeDate(2024, 12, 10));
  for (auto _ : state) {
    cal->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MiniCal_Paint);
VORN_RATIO("MiniCal paint 300x180 / FillRect", "BM_MiniCal_Paint", "BM_FillRect_300x180");

// The calendar drawn afresh each time, as after a step to another month.
void BM_MiniCal_PaintAfresh(benchmark::State& state) {
  static TMiniCal* cal = Shown<TMiniCal>(300, 180);
  cal->SetDate(EncodeDate(2024, 12, 10));
  for (auto _ : state) {
    cal->Invalidate();
    cal->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MiniCal_PaintAfresh);
VORN_RATIO("MiniCal paint afresh 300x180 / FillRect", "BM_MiniCal_PaintAfresh", "BM_FillRect_300x180");

void PaintSlides(benchmark::State& state, int Slides) {
  TThumbnails* view = Shown<TThumbnails>(600, 400 + Slides % 7);
  view->SetBounds(0, 0, 600, 400);
  view->SetMax(Slides);
  view->SetFirstThumbIdx(Slides / 2);
  view->SetOnImageRequest([](TObject*, int Id, TImageRequestProcessing& How, int&, TBitmap*& Buffer) {
    How = irpShowSlide;
    Buffer->SetSize(64, 48);
    Buffer->Canvas()->Brush()->SetColor(static_cast<TColor>(Id * 2654435761u) & 0xFFFFFF);
    Buffer->Canvas()->FillRect(Rect(0, 0, 64, 48));
  });
  for (auto _ : state) {
    view->Invalidate();  // renders the slides afresh
    view->Paint();
    benchmark::ClobberMemory();
  }
}

void BM_Thumbnails_100(benchmark::State& state) { PaintSlides(state, 100); }
void BM_Thumbnails_100000(benchmark::State& state) { PaintSlides(state, 100000); }
BENCHMARK(BM_Thumbnails_100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Thumbnails_100000)->Unit(benchmark::kMicrosecond);
VORN_RATIO("Thumbnails paint 600x400, 100000 slides / 100 slides", "BM_Thumbnails_100000", "BM_Thumbnails_100", 1.1);

// A folder with 10,000 empty subfolders, made once (in memory where the
// system offers a memory file system) and removed at exit.
const std::string& ManyFolders() {
  static const std::string path = [] {
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/vorn-bench-folders-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    for (int i = 0; i < 10000; ++i) mkdir((pattern + "/folder" + std::to_string(i)).c_str(), 0755);
    std::atexit([] { std::filesystem::remove_all(ManyFolders()); });
    return pattern;
  }();
  return path;
}

void BM_Readdir_10000(benchmark::State& state) {
  const std::string& path = ManyFolders();
  for (auto _ : state) {
    int count = 0;
    DIR* dir = opendir(path.c_str());
    while (const dirent* entry = readdir(dir)) count += entry->d_name[0] != '.' ? 1 : 0;
    closedir(dir);
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_Readdir_10000)->Unit(benchmark::kMillisecond);

void BM_FolderTree_Expand10000(benchmark::State& state) {
  static TFolderTree* tree = Shown<TFolderTree>(300, 400);
  const std::string& path = ManyFolders();
  for (auto _ : state) {
    tree->SelectPath(path);  // rebuilds the tree and reads the way
    tree->Selected()->Expand(false);
    benchmark::DoNotOptimize(tree->Selected()->Count());
  }
}
BENCHMARK(BM_FolderTree_Expand10000)->Unit(benchmark::kMillisecond);
VORN_RATIO("FolderTree expand 10000 subfolders / readdir of them", "BM_FolderTree_Expand10000", "BM_Readdir_10000");

}  // namespace
