#include "app/DxfToXmlWork.h"

#include "model/DxfImport.h"
#include "model/LENIProject.h"
#include "model/LENIWindow.h"

void RunDxfToXml(const DxfToXmlJob& job) {
    // The batch mode has no preferences: a new window starts from the field defaults.
    InstallDxfFloorImporter();
    CLENIProject project;
    project.SetDominantBuildingType("Residential buildings");
    project.AddFloor(job.floorName, job.height, 1, job.dxfFile);
    project.Save(job.projectFile, false);
}
