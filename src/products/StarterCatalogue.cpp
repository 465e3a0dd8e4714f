#include "products/StarterCatalogue.h"

namespace {

CLumTypeData Generic(const char* refId, const char* desc, int typeFlags, double watts, double standby, double charge) {
    CLumTypeData product;
    product.SetRefId(refId);
    product.SetDesc(desc);
    product.SetTypeFlags(typeFlags);
    product.SetMaxPow(watts);
    product.SetStandbyPow(standby);
    product.SetChargePow(charge);
    return product;
}

} // namespace

const std::vector<CLumTypeData>& StarterCatalogue() {
    // Typical figures of current LED products; the standby power is that of a dimmable
    // (DALI) driver, the charging power that of a self-contained 3 h emergency unit.
    static const std::vector<CLumTypeData> products = {
        Generic("GENERIC LED PANEL 600", "Generic LED panel 600 x 600 mm, 34 W (not a maker's product)",
                LUMTYPE_LUMINAIRE, 34.0, 0.5, 0.0),
        Generic("GENERIC LED DOWNLIGHT", "Generic LED downlight, 15 W (not a maker's product)", LUMTYPE_LUMINAIRE,
                15.0, 0.3, 0.0),
        Generic("GENERIC LED BATTEN 1500", "Generic LED linear batten 1500 mm, 45 W (not a maker's product)",
                LUMTYPE_LUMINAIRE, 45.0, 0.5, 0.0),
        Generic("GENERIC LED HIGH-BAY", "Generic LED high-bay, 150 W (not a maker's product)", LUMTYPE_LUMINAIRE,
                150.0, 1.0, 0.0),
        Generic("GENERIC LED EMERGENCY", "Generic LED emergency luminaire, 3 h self-contained (not a maker's product)",
                LUMTYPE_EMERGENCY, 3.0, 0.0, 1.0),
    };
    return products;
}

int AddStarterCatalogue(CLumSysDataBase& database) {
    std::vector<CLumTypeData> missing;
    for (const CLumTypeData& product : StarterCatalogue())
        if (!database.HasRefId(product.GetRefId())) missing.push_back(product);
    database.AddProducts(missing);
    return static_cast<int>(missing.size());
}
