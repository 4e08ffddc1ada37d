// The cost of one story step. Fast-forward shows a step every 25 ms tick and every step
// re-reads the lead's portrait from disk, so a step must take a small part of a tick.
// tick_share is the part of a 25 ms tick one step takes, a plain fraction (printed with an SI
// prefix and a seconds sign: "262us" means 0.000262 of a tick).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bitmap_file.h"
#include "screen/start.h"
#include "story/dispatcher.h"
#include "story/scene_table.h"

namespace vern {
namespace {

namespace fs = std::filesystem;
using test::WriteBmp;

struct QuietServices : Services {
    std::string dir;
    MsgAnswer MsgBox(const std::string&, MsgButtons, bool, const std::string&) override {
        return MsgAnswer::OK;
    }
    void RunNameDialog(Game&) override {}
    void Beep() override {}
    std::string AppPath() override { return dir; }
};

// A program folder with the lead's portrait and scene 6's twelve pictures.
struct Folder {
    fs::path dir = fs::temp_directory_path() / ("vern_bench_" + std::to_string(::getpid()));
    Folder() {
        WriteBmp(dir / "CG/キャラ/シザ.bmp", 130, 162);
        for (const PictureRef& p : FindScene(6)->pictures)
            WriteBmp(dir / "CG" / p.folder / (std::string(p.name) + ".bmp"), 200, 150);
    }
    ~Folder() { fs::remove_all(dir); }
};

// Time per step ÷ 25 ms.
void Tick(benchmark::State& state) {
    state.counters["tick_share"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 0.025,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// An ordinary text step: the portrait from disk, the scene's text, names and indentation.
void BM_StoryStep(benchmark::State& state) {
    Folder folder;
    QuietServices svc;
    svc.dir = folder.dir.string();
    Game g(svc);
    g.rng.fixedSeed = true;
    Start(g);
    g.s.UnitKind[0] = 1;
    g.s.SceneNo = 1;
    g.f.Picture2.Visible = true;
    for (auto _ : state) {
        g.s.StoryStep = 7; // the advance shows step 8
        Command2_Click(g);
        benchmark::DoNotOptimize(g.f.Label7.Caption);
    }
    Tick(state);
}
BENCHMARK(BM_StoryStep);

// The heaviest step: a scene's step 1, which also reads its twelve pictures.
void BM_SceneFirstStep(benchmark::State& state) {
    Folder folder;
    QuietServices svc;
    svc.dir = folder.dir.string();
    Game g(svc);
    g.rng.fixedSeed = true;
    Start(g);
    g.s.UnitKind[0] = 1;
    g.f.Picture2.Visible = true;
    for (auto _ : state) {
        g.s.SceneNo = 6;
        g.s.StoryStep = 0;
        Command2_Click(g);
        benchmark::DoNotOptimize(g.f.Img[12].picture);
    }
    Tick(state);
}
BENCHMARK(BM_SceneFirstStep);

} // namespace
} // namespace vern
