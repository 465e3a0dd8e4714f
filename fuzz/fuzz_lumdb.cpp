// The luminaire database file reader on arbitrary bytes, then the database written back.
#include "FuzzSupport.h"

#include "products/LumSysDataBase.h"

#include <tinyxml.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "LENI_V1_LUM_DB.XML");
    CLumSysDataBase db;
    if (!db.ReadFromFile(path)) return 0;
    for (int i = 0; i < db.GetCount(); ++i)
        db.GetLumDataFromRefId(db.GetLumDataAtIndex(i).GetRefId());
    TiXmlElement root("LENI_V1_LUM_DB");
    db.WriteToXml(&root);
    return 0;
}
