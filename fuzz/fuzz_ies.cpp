// The IESNA importer on arbitrary bytes, and the product it makes added to a database.
#include "FuzzSupport.h"

#include "products/LumSysDataBase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "input.ies");
    CLumTypeData product;
    if (product.ImportFromPhotometricFile(path)) {
        CLumSysDataBase db;
        db.AddLumData(product);
    }
    return 0;
}
