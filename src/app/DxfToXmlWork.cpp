#include "app/DxfToXmlWork.h"

#include "base/Logger.h"
#include "model/DxfImport.h"
#include "model/LENIProject.h"
#include "model/LENIWindow.h"

int RunDxfToXml(const DxfToXmlJob& job) {
    // The batch mode has no preferences: a new window starts from the field defaults.
    InstallDxfFloorImporter();
    CLENIProject project;
    project.SetDominantBuildingType("Residential buildings");
    project.SetPrintMe(true);
    project.AddFloor(job.floorName, job.height, 1, job.dxfFile);
    if (!project.Save(job.projectFile, false)) {
        Log().Printf(LOG_ERROR, "dxftoxml: the project file could not be written:\n%s", job.projectFile.c_str());
        return BATCH_WRITE_FAILED;
    }
    return BATCH_DONE;
}
