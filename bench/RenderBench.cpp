// Redraws of a floor page showing a plan of about 100 000 entities with 100 rooms over it: opening
// (Zoom All, everything visible), zooming and panning, each a full redraw of the off-screen
// picture. Each must stay under 50 ms. The baseline in the same run walks the same drawing into a
// canvas that draws nothing, which separates the cost of the walk from the cost of painting.

#include "dxf/Render.h"
#include "model/ModelOverlay.h"
#include "support/SamplePlan.h"
#include "ui/editor/FloorView.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kEntities = 100000;
constexpr int kWidth = 1400;
constexpr int kHeight = 900;

SamplePlan& Plan() {
    static SamplePlan plan(SamplePlan::ModulesPerSide(kEntities), SamplePlan::ModulesPerSide(kEntities), 10,
                           10);
    return plan;
}

// A canvas that only takes the calls.
class NullCanvas : public IDrawCanvas {
  public:
    void SetPen(const CanvasPen& p) override { m_Pen = p; }
    CanvasPen GetPen() const override { return m_Pen; }
    void DrawLine(int, int, int, int) override { ++calls; }
    void DrawPolyline(const std::vector<CanvasPoint>&) override { ++calls; }
    void FillPolygon(const std::vector<CanvasPoint>&, Rgb) override { ++calls; }
    void DrawEllipse(int, int, int, int) override { ++calls; }
    void DrawText(int, int, const std::string&, const CanvasFont&, Rgb) override { ++calls; }
    int GetTextWidth(const std::string& text, const CanvasFont& font) override {
        return static_cast<int>(text.size()) * font.height / 2;
    }
    void SetPixel(int, int, Rgb) override { ++calls; }
    long calls = 0;

  private:
    CanvasPen m_Pen;
};

std::unique_ptr<CFloorView> OpenView() {
    auto view = std::make_unique<CFloorView>();
    view->resize(kWidth, kHeight);
    view->SetDrawing(&Plan().entities, &Plan().snap, &Plan().floor);
    return view;
}

void SetEntityCounter(benchmark::State& state) {
    state.counters["entities"] = Plan().entities.GetCount();
}

void BM_WalkOnly(benchmark::State& state) {
    auto view = OpenView();
    const ViewTransform vt = GetViewTransform({0, 0, kWidth, kHeight}, ZOOM_BOX, RenderSource(),
                                              view->GetViewMin(), view->GetViewMax());
    RenderSource source;
    source.entities = &Plan().entities;
    for (auto _ : state) {
        NullCanvas canvas;
        DrawDrawing(canvas, source, vt.worldToPixel, view->GetViewMin(), view->GetViewMax());
        DrawFloorModel(canvas, Plan().floor, vt.worldToPixel, 3.0);
        benchmark::DoNotOptimize(canvas.calls);
    }
    SetEntityCounter(state);
}

void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        auto view = OpenView();
        view->RenderImage();
        benchmark::DoNotOptimize(view->GetImage().constBits());
    }
    SetEntityCounter(state);
}

void BM_ZoomAbout(benchmark::State& state) {
    auto view = OpenView();
    view->RenderImage();
    // Zooming in and out by one notch about a point in the plan, alternately.
    const Point c(0.3 * view->GetViewMax().x, 0.6 * view->GetViewMax().y);
    int n = 1;
    for (auto _ : state) {
        view->ZoomStep(n, c);
        n = -n;
        view->RenderImage();
        benchmark::DoNotOptimize(view->GetImage().constBits());
    }
    SetEntityCounter(state);
}

void BM_Pan(benchmark::State& state) {
    auto view = OpenView();
    if (state.range(0)) { // a view of a few rooms, where culling does the work
        view->SetViewWindow(Point(100, 100), Point(130, 120));
    }
    view->RenderImage();
    const double step = 0.05 * (view->GetViewMax().x - view->GetViewMin().x);
    double d = step;
    for (auto _ : state) {
        view->Pan(d, 0.0);
        d = -d;
        view->RenderImage();
        benchmark::DoNotOptimize(view->GetImage().constBits());
    }
    SetEntityCounter(state);
}

BENCHMARK(BM_WalkOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomAbout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
