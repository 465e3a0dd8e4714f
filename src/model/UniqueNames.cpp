#include "model/UniqueNames.h"

#include "base/TextUtils.h"
#include "model/LENIFloor.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// The names "prefix + counter printed with at least `width` digits + suffix" for the counters
// first ... first + kMaxGeneratedNameTries - 1, matched without regard to letter case as the
// lookups by name are.
class CNamePattern {
  public:
    CNamePattern(std::string prefix, int width, std::string suffix, int first)
        : m_Prefix(std::move(prefix)), m_Suffix(std::move(suffix)), m_Width(width), m_First(first),
          m_Used(kMaxGeneratedNameTries, false) {}

    // Marks the counter a name in use stands for, if it is one of the pattern's names.
    void MarkUsed(const std::string& name) {
        const size_t fixed = m_Prefix.size() + m_Suffix.size();
        if (name.size() < fixed + static_cast<size_t>(m_Width) || name.size() > fixed + 9) return;
        if (!SameNoCase(name.data(), m_Prefix) ||
            !SameNoCase(name.data() + name.size() - m_Suffix.size(), m_Suffix))
            return;
        const size_t digits = name.size() - fixed;
        int n = 0;
        for (size_t i = 0; i < digits; ++i) {
            const char c = name[m_Prefix.size() + i];
            if (c < '0' || c > '9') return;
            n = 10 * n + (c - '0');
        }
        const int index = n - m_First;
        // Only the counter's own spelling: "ROOM_0007" is not ROOM_007.
        if (index < 0 || index >= kMaxGeneratedNameTries || digits != CountDigits(n, m_Width)) return;
        m_Used[static_cast<size_t>(index)] = true;
    }

    // The first free name; empty when every counter is taken.
    std::string FirstFree() const {
        for (int i = 0; i < kMaxGeneratedNameTries; ++i)
            if (!m_Used[static_cast<size_t>(i)])
                return m_Prefix + StrPrintf("%0*d", m_Width, m_First + i) + m_Suffix;
        return std::string();
    }

  private:
    static bool SameNoCase(const char* text, const std::string& part) {
        for (size_t i = 0; i < part.size(); ++i)
            if (text[i] != part[i] && std::tolower(static_cast<unsigned char>(text[i])) !=
                                          std::tolower(static_cast<unsigned char>(part[i])))
                return false;
        return true;
    }
    // The number of characters "%0*d" gives for a counter that is not negative.
    static size_t CountDigits(int n, int width) {
        size_t count = 1;
        for (; n >= 10; n /= 10)
            ++count;
        return std::max(count, static_cast<size_t>(width));
    }

    std::string m_Prefix, m_Suffix;
    int m_Width, m_First;
    std::vector<bool> m_Used;
};

} // namespace

std::string FindFreeRoomName(const CLENIFloor& floor) {
    CNamePattern pattern("ROOM_", 3, "", 0);
    for (const CLENIRoom& room : floor.GetRooms())
        pattern.MarkUsed(room.GetName());
    return pattern.FirstFree();
}

std::string FindFreeZoneName(const CLENIFloor& floor, const std::string& room) {
    CNamePattern pattern("ZONE_", 2, "_(" + room + ")", 1);
    if (const CLENIRoom* r = floor.FindRoom(room))
        for (const CLENIZone& zone : r->GetZones())
            pattern.MarkUsed(zone.GetName());
    return pattern.FirstFree();
}

std::string FindFreeAtriumName(const CLENIFloor& floor) {
    CNamePattern pattern("ATRIO_", 2, "_" + floor.GetName(), 1);
    for (const CLENIAtrium& atrium : floor.GetAtria())
        pattern.MarkUsed(atrium.m_csName);
    return pattern.FirstFree();
}
