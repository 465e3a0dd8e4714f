#include "calc/GeometryCache.h"

#include "calc/CalcMode.h"
#include "calc/EnergyCalc.h"
#include "calc/GridCount.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// A generous bound for an interactive session that edits outlines for hours: past it the cache
// starts afresh rather than growing without end.
constexpr size_t kMaxEntries = 200000;

// The x and y of both outlines as raw bits, each outline preceded by its vertex count. (z and w
// play no part in the area.)
struct Key {
    std::vector<uint64_t> words;
    size_t hash = 0;
    bool operator==(const Key& o) const { return words == o.words; }
};

struct KeyHash {
    size_t operator()(const Key& k) const { return k.hash; }
};

uint64_t Bits(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

void AppendOutline(std::vector<uint64_t>& words, const Polygon& polygon) {
    words.push_back(polygon.size());
    for (const Point& p : polygon) {
        words.push_back(Bits(p.x));
        words.push_back(Bits(p.y));
    }
}

Key MakeKey(const Polygon& zonePolygon, const Polygon& polygon) {
    Key key;
    key.words.reserve(2 + 2 * (zonePolygon.size() + polygon.size()));
    AppendOutline(key.words, zonePolygon);
    AppendOutline(key.words, polygon);
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (uint64_t w : key.words) {
        h ^= w + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h *= 0xFF51AFD7ED558CCDull;
    }
    key.hash = static_cast<size_t>(h ^ (h >> 33));
    return key;
}

struct Cache {
    std::mutex mutex;
    std::unordered_map<Key, double, KeyHash> areas;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

} // namespace

double GetAreaInZoneCached(const Polygon& zonePolygon, const Polygon& polygon) {
    if (IsReferenceCalculation())
        return GetAreaInZone(zonePolygon, polygon, GetZoneSamplingGrid(zonePolygon));

    Key key = MakeKey(zonePolygon, polygon);
    Cache& cache = TheCache();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        auto it = cache.areas.find(key);
        if (it != cache.areas.end()) return it->second;
    }
    // Worked out unlocked: another thread may do the same pair meanwhile, with the same result.
    const double area = GetAreaInZoneByRows(zonePolygon, polygon, GetZoneSamplingGrid(zonePolygon));
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.areas.size() >= kMaxEntries) cache.areas.clear();
    cache.areas.emplace(std::move(key), area);
    return area;
}

size_t GetGeometryCacheSize() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    return cache.areas.size();
}

void ClearGeometryCache() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    cache.areas.clear();
}
