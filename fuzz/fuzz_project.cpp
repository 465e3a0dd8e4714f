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
    CalculateAnnualLENI(project, 0);
    project.Save(FuzzFolder() + "/saved.LENI1XML", false);
    return 0;
}
