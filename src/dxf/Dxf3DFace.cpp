#include "dxf/Dxf3DFace.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

bool CDxf3DFace::IsSame(const CDxfEntity& other, double tolerance) const {
    return HasSameCorners(other, tolerance, Distance3D);
}

double CDxf3DFace::DistanceTo(const Point&) const {
    return 100.0;
}

void CDxf3DFace::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s 3DFACE with %d sides\n", prefix ? prefix : "", m_iNumCorners);
}
