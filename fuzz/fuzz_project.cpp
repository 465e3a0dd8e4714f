// The project file reader on arbitrary bytes, then what "report" does with a project it could
// read: the annual calculation and the project saved again.
#include "FuzzSupport.h"

#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "input.LENI1XML");
    CLENIProject project;
    if (!project.ReadProject(path)) return 0;
    // The calculation samples every zone on a fine grid: it runs on small buildings only, so
    // that the reader gets most of the time.
    int rooms = 0;
    for (const CLENIFloor& floor : project.GetFloors())
        rooms += static_cast<int>(floor.GetRooms().size());
    if (rooms <= 2) CalculateAnnualLENI(project, 0);
    project.Save(FuzzFolder() + "/saved.LENI1XML", false);
    return 0;
}
