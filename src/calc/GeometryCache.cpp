#include "calc/GeometryCache.h"

#include "base/CalcMode.h"
#include "calc/EnergyCalc.h"
#include "calc/GridCount.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// A generous bound for an interactive session that edits outlines for hours: past it the cache
// starts afresh rather than growing without end.
constexpr size_t kMaxEntries = 200000;

uint64_t Bits(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

void Mix(uint64_t& h, uint64_t w) {
    h ^= w + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h *= 0xFF51AFD7ED558CCDull;
}

// The x and y of both outlines as raw bits, each outline preceded by its vertex count. (z and w
// play no part in the area.)
size_t HashOf(const Polygon& zonePolygon, const Polygon& polygon) {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (const Polygon* outline : {&zonePolygon, &polygon}) {
        Mix(h, outline->size());
        for (const Point& p : *outline) {
            Mix(h, Bits(p.x));
            Mix(h, Bits(p.y));
        }
    }
    return static_cast<size_t>(h ^ (h >> 33));
}

bool SameOutline(const std::vector<uint64_t>& words, size_t& at, const Polygon& outline) {
    if (at >= words.size() || words[at] != outline.size() || words.size() - at - 1 < 2 * outline.size())
        return false;
    ++at;
    for (const Point& p : outline) {
        if (words[at] != Bits(p.x) || words[at + 1] != Bits(p.y)) return false;
        at += 2;
    }
    return true;
}

struct Entry {
    std::vector<uint64_t> words; // both outlines, as HashOf reads them
    double area;

    bool Matches(const Polygon& zonePolygon, const Polygon& polygon) const {
        size_t at = 0;
        return SameOutline(words, at, zonePolygon) && SameOutline(words, at, polygon) && at == words.size();
    }
};

void AppendOutline(std::vector<uint64_t>& words, const Polygon& polygon) {
    words.push_back(polygon.size());
    for (const Point& p : polygon) {
        words.push_back(Bits(p.x));
        words.push_back(Bits(p.y));
    }
}

// Each thread keeps its own entries: a lookup takes no lock and builds nothing, and working out
// a pair twice on two threads costs less than sharing one table would. Clearing reaches every
// thread's table through the generation, at its next use.
std::atomic<unsigned> g_Generation{0};

struct Cache {
    unsigned generation = 0;
    size_t size = 0;
    std::unordered_multimap<size_t, Entry> areas;

    void Refresh() {
        const unsigned now = g_Generation.load(std::memory_order_relaxed);
        if (generation == now) return;
        areas.clear();
        size = 0;
        generation = now;
    }
};

Cache& TheCache() {
    thread_local Cache cache;
    cache.Refresh();
    return cache;
}

} // namespace

double GetAreaInZoneCached(const Polygon& zonePolygon, const Polygon& polygon) {
    if (IsReferenceCalculation())
        return GetAreaInZone(zonePolygon, polygon, GetZoneSamplingGrid(zonePolygon));

    Cache& cache = TheCache();
    const size_t hash = HashOf(zonePolygon, polygon);
    const auto range = cache.areas.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second.Matches(zonePolygon, polygon)) return it->second.area;

    const double area = GetAreaInZoneByRows(zonePolygon, polygon, GetZoneSamplingGrid(zonePolygon));
    if (cache.size >= kMaxEntries) {
        cache.areas.clear();
        cache.size = 0;
    }
    Entry entry;
    entry.words.reserve(2 + 2 * (zonePolygon.size() + polygon.size()));
    AppendOutline(entry.words, zonePolygon);
    AppendOutline(entry.words, polygon);
    entry.area = area;
    cache.areas.emplace(hash, std::move(entry));
    ++cache.size;
    return area;
}

size_t GetGeometryCacheSize() {
    return TheCache().size;
}

void ClearGeometryCache() {
    g_Generation.fetch_add(1, std::memory_order_relaxed);
}
