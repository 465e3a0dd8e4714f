// The project's own product list: every product its luminaire lists use, copied from the global
// database so that the project file carries them.

#include "model/LENIProject.h"

void CLENIProject::AddProductsToProject(const CZoneObjList& list) {
    for (const CZoneObjList::Entry& entry : list.GetEntries()) {
        if (m_Products.HasRefId(entry.refId)) continue;
        // An id the global database lacks yields the empty product, which AddLumData refuses
        // with its own message.
        m_Products.AddLumData(CLumSysDataBase::Global().GetLumDataFromRefId(entry.refId));
    }
}
