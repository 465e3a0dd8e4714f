// The IESNA importer and the intensity table of the preview on arbitrary bytes.
#include "FuzzSupport.h"

#include "products/LumSysDataBase.h"
#include "products/Photometry.h"
#include "products/PolarDiagram.h"

#include <vector>

namespace {
// Draws nowhere: only the arithmetic of the diagram is exercised.
class NullCanvas : public IDrawCanvas {
  public:
    void SetPen(const CanvasPen& p) override { m_pen = p; }
    CanvasPen GetPen() const override { return m_pen; }
    void DrawLine(int, int, int, int) override {}
    void DrawPolyline(const std::vector<CanvasPoint>&) override {}
    void FillPolygon(const std::vector<CanvasPoint>&, Rgb) override {}
    void DrawEllipse(int, int, int, int) override {}
    void DrawText(int, int, const std::string&, const CanvasFont&, Rgb) override {}
    int GetTextWidth(const std::string& t, const CanvasFont&) override { return static_cast<int>(t.size()); }
    void SetPixel(int, int, Rgb) override {}

  private:
    CanvasPen m_pen;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "input.ies");
    CLumTypeData product;
    if (product.ImportFromPhotometricFile(path)) {
        CLumSysDataBase db;
        db.AddLumData(product);
    }
    // The preview of the desktop import reads the whole intensity table and draws it.
    CPhotometry photometry;
    photometry.ReadFile(path);
    NullCanvas canvas;
    CPolarDiagram::Draw(canvas, photometry, 0, 0, 200);
    photometry.IntegrateFlux();
    return 0;
}
