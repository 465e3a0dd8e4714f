#include "dxf/DxfSolid.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <algorithm>

bool CDxfSolid::IsSame(const CDxfEntity& other, double tolerance) const {
    return HasSameCorners(other, tolerance, Distance2D);
}

double CDxfSolid::DistanceTo(const Point& p) const {
    double best = 1e32;
    for (int i = 0; i < GetCornerCount(); ++i)
        best = std::min(best, Distance2D(m_Corners[i], p));
    return best;
}

void CDxfSolid::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s Solid with %d points on <%s>\n", prefix ? prefix : "", m_iNumCorners,
                 GetLayerName().c_str());
}
