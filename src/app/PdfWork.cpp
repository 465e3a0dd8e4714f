#include "app/PdfWork.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
ReportPdfWriter& Writer() {
    static ReportPdfWriter writer;
    return writer;
}
} // namespace

ReportPdfWriter SetReportPdfWriter(ReportPdfWriter writer) {
    ReportPdfWriter old = Writer();
    Writer() = std::move(writer);
    return old;
}

bool HasReportPdfWriter() {
    return static_cast<bool>(Writer());
}

std::string GetFloorDxfPath(const CLENIProject& project, const std::string& floorName) {
    return JoinPath(project.GetProjectFolder(), MakeSafeFileName(floorName) + ".DXF").string();
}

int RunPdf(const PdfJob& job) {
    if (!Writer()) {
        const char* text = "pdf: this build cannot write PDF files (it was built without Qt 6); "
                           "no PDF written";
        std::fprintf(stderr, "orvantis: %s\n", text);
        Log().Printf(LOG_ERROR, "%s", text);
        return BATCH_WRITE_FAILED;
    }
    CLENIProject project;
    if (!project.ReadProject(job.projectFile)) {
        Log().Printf(LOG_ERROR, "pdf: the project file could not be read, no PDF written:\n%s",
                     job.projectFile.c_str());
        return BATCH_READ_FAILED;
    }
    // A floor whose drawing is missing or unreadable prints its values without the picture.
    std::vector<std::pair<std::string, std::unique_ptr<CDxfFile>>> drawings;
    for (const CLENIFloor& floor : project.GetFloors()) {
        const std::string path = GetFloorDxfPath(project, floor.GetName());
        if (path.size() > kMaxPathBytes) {
            // The drawing cannot be there at all: a PDF without it would pass for a whole one.
            Log().Printf(LOG_ERROR,
                         "pdf: the drawing of floor <%s> would be at a path of %u bytes, more than the %u this "
                         "system allows; no PDF written:\n%s",
                         floor.GetName().c_str(), static_cast<unsigned>(path.size()),
                         static_cast<unsigned>(kMaxPathBytes), path.c_str());
            return BATCH_READ_FAILED;
        }
        auto drawing = std::make_unique<CDxfFile>();
        if (FileExists(path) && drawing->ReadFile(path))
            drawings.emplace_back(floor.GetName(), std::move(drawing));
        else
            Log().Printf(LOG_ERROR, "pdf: the drawing of floor <%s> could not be read:\n%s",
                         floor.GetName().c_str(), path.c_str());
    }
    const FloorDrawingLookup lookup = [&drawings](const std::string& name) -> const CDxfFile* {
        for (const auto& entry : drawings)
            if (EqualsNoCase(entry.first, name)) return entry.second.get();
        return nullptr;
    };
    // The PDF and the calculation log its results come from are put in place together, or
    // neither when the PDF cannot be written whole.
    CSafeWriteBatch batch;
    std::string reason;
    if (!Writer()(project, lookup, job.pdfFile) || !batch.Commit(&reason)) {
        Log().Printf(LOG_ERROR, "pdf: the PDF file could not be written:\n%s\n%s", job.pdfFile.c_str(),
                     reason.c_str());
        return BATCH_WRITE_FAILED;
    }
    std::printf("Report written to %s\n", job.pdfFile.c_str());
    std::fflush(stdout);
    return BATCH_DONE;
}
