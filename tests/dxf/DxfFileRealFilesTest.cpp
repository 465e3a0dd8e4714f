// Drawings written by other programs: each reads without crash or hang, and what the reader keeps
// agrees with what an independent reader (python3 ezdxf) finds in the same file.

#include "dxf/DxfBlock.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "support/DxfTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <sstream>

namespace {

// Extents over the kinds both readers measure alike: texts and ellipses left out, also inside
// blocks.
void AddMeasured(ExtentsBox& box, const CEntList& list, const Matrix4& m, int depth) {
    for (const auto& e : list) {
        if (e->GetType() == DXF_TEXT || e->GetType() == DXF_ELLIPSE) continue;
        if (e->GetType() == DXF_INSERT) {
            const auto* insert = static_cast<const CDxfInsert*>(e.get());
            if (insert->m_pBlock && depth < 16)
                AddMeasured(box, insert->m_pBlock->m_EntList, MultiplyMatrix(m, insert->GetToWorldXform()),
                            depth + 1);
            continue;
        }
        Point a, b;
        if (e->GetExtents(a, b, m)) {
            box.Add(a);
            box.Add(b);
        }
    }
}

ExtentsBox MeasuredExtents(const CDxfFile& dxf) {
    ExtentsBox box;
    CEntList visible;
    for (const auto& e : dxf.GetEntList())
        if (!e->GetLayer() || e->GetLayer()->m_bVisible) visible.AddEntity(*e, e->GetLayer());
    AddMeasured(box, visible, Matrix4(), 0);
    return box;
}

std::vector<fs::path> SampleFiles() {
    std::vector<fs::path> files;
    const fs::path dir = SharedDataDir();
    if (dir.empty() || !fs::is_directory(dir / "dxf")) return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "dxf"))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(DxfFileRealFiles, EveryFileReadsAndAgreesWithAnIndependentReader) {
    const auto files = SampleFiles();
    if (files.empty()) GTEST_SKIP() << "no sample drawings beside the repository";
    const bool haveEzdxf = PythonHasEzdxf();
    RecordingMessageBoxes boxes;
    LogRecorder log;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        CDxfFile dxf;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = dxf.ReadFile(file.string());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

        std::map<std::string, int> ours;
        for (const auto& e : dxf.GetEntList())
            ours[e->GetTypeName()]++;

        const bool binary = ReadFileText(file).rfind("AutoCAD Binary DXF", 0) == 0;
        if (binary) {
            // Not an ASCII drawing: refused cleanly, nothing kept.
            EXPECT_FALSE(ok);
            EXPECT_EQ(dxf.GetEntityCount(), 0);
            continue;
        }
        if (!haveEzdxf) continue;
        std::string out;
        const int rc = RunEzdxfSummary(file, out);
        if (rc == 2) continue; // the other reader refuses it; ours only has to survive
        ASSERT_EQ(rc, 0) << out;
        std::map<std::string, int> theirs;
        std::istringstream in(out);
        std::string word, type;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        bool haveExtents = false;
        while (in >> word) {
            if (word == "COUNT") {
                int n = 0;
                in >> type >> n;
                theirs[type] = n;
            } else if (word == "EXTENTS") {
                std::string first;
                in >> first;
                if (first != "none") {
                    x0 = std::stod(first);
                    in >> y0 >> x1 >> y1;
                    haveExtents = true;
                }
            }
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(ours, theirs);
        const ExtentsBox box = MeasuredExtents(dxf);
        ASSERT_EQ(box.valid, haveExtents);
        if (!haveExtents) continue;
        // Arcs are measured through 15 points here: a few per cent of a radius at most.
        const double tol = 0.03 * std::max(x1 - x0, y1 - y0) + 1e-6;
        EXPECT_NEAR(box.min.x, x0, tol);
        EXPECT_NEAR(box.min.y, y0, tol);
        EXPECT_NEAR(box.max.x, x1, tol);
        EXPECT_NEAR(box.max.y, y1, tol);
    }
}
