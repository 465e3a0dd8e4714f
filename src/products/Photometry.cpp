#include "products/Photometry.h"

#include "base/FileUtils.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include "base/Platform.h"
#include <sstream>

namespace {

// More planes or angles than any measurement has marks a damaged file.
constexpr long kMaxAngles = 3600;
constexpr double kPi = 3.14159265358979323846;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Numbers of some files are written with a decimal comma.
bool ToNumber(std::string token, double& value) {
    std::replace(token.begin(), token.end(), ',', '.');
    token = TrimWhiteSpace(token);
    if (token.empty()) return false;
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    char* end = nullptr;
    value = strtod_l(token.c_str(), &end, cLocale);
    return end && *end == '\0' && std::isfinite(value);
}

double NumberOr(const std::string& text, double fallback) {
    double value;
    return ToNumber(text, value) ? value : fallback;
}

// Whitespace-separated tokens (and, in IES files, commas between them).
std::vector<std::string> Tokens(const std::vector<std::string>& lines, size_t from, bool commas) {
    std::vector<std::string> tokens;
    for (size_t i = from; i < lines.size(); ++i) {
        std::string token;
        for (char c : lines[i]) {
            if (std::isspace(static_cast<unsigned char>(c)) || (commas && c == ',')) {
                if (!token.empty()) tokens.push_back(token);
                token.clear();
            } else {
                token += c;
            }
        }
        if (!token.empty()) tokens.push_back(token);
    }
    return tokens;
}

bool Fail(std::string* reason, const std::string& why) {
    if (reason) *reason = why;
    return false;
}

bool StartsNoCase(const std::string& text, const char* prefix) {
    const size_t n = std::char_traits<char>::length(prefix);
    return text.size() >= n && EqualsNoCase(text.substr(0, n), prefix);
}

// Linear interpolation in an ascending table; outside it the nearest end.
void Bracket(const std::vector<double>& table, double x, size_t& lo, size_t& hi, double& t) {
    auto it = std::upper_bound(table.begin(), table.end(), x);
    if (it == table.begin()) {
        lo = hi = 0;
        t = 0;
        return;
    }
    if (it == table.end()) {
        lo = hi = table.size() - 1;
        t = 0;
        return;
    }
    hi = static_cast<size_t>(it - table.begin());
    lo = hi - 1;
    const double span = table[hi] - table[lo];
    t = span > 0 ? (x - table[lo]) / span : 0.0;
}

} // namespace

bool CPhotometry::ReadFile(const std::string& path, std::string* reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(reason, "The file cannot be opened");
    std::ostringstream content;
    content << in.rdbuf();
    const std::string name = fs::path(path).filename().string();
    const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
    if (EqualsNoCase(ext, ".LDT")) return ReadLdtText(content.str(), reason);
    if (EqualsNoCase(ext, ".IES")) return ReadIesText(content.str(), reason);
    return Fail(reason, "Not an LDT or IES file");
}

bool CPhotometry::ReadLdtText(const std::string& text, std::string* reason) {
    *this = CPhotometry();
    const std::vector<std::string> lines = SplitLines(text);
    auto line = [&](size_t number) { // 1-based, trimmed, empty beyond the end
        return number <= lines.size() ? TrimWhiteSpace(lines[number - 1]) : std::string();
    };
    m_csMaker = WideCharFromAscii(line(1));
    m_csName = WideCharFromAscii(line(9));
    m_csNumber = WideCharFromAscii(line(10));
    m_dLor = NumberOr(line(23), -1.0);
    if (lines.size() < 26) return Fail(reason, "The file ends before its lamp data");
    const long isym = std::lround(NumberOr(line(3), -1));
    const long mc = std::lround(NumberOr(line(4), -1));
    const long ng = std::lround(NumberOr(line(6), -1));
    const long sets = std::lround(NumberOr(line(26), -1));
    if (isym < 0 || isym > 4 || mc < 0 || mc > kMaxAngles || ng < 1 || ng > kMaxAngles || sets < 0 ||
        sets > 20)
        return Fail(reason, "The header of the intensity table is damaged");
    double lumens = 0, watts = 0;
    for (long set = 0; set < sets; ++set) {
        lumens += NumberOr(line(26 + 1 + 6 * set + 2), 0.0);
        watts += NumberOr(line(26 + 1 + 6 * set + 5), 0.0);
    }
    m_dLampLumens = lumens > 0 ? lumens : -1.0;
    m_dWatts = watts > 0 ? watts : -1.0;
    // After the lamp sets: ten direct ratios, then the angles and the intensities as numbers.
    const std::vector<std::string> tokens = Tokens(lines, 26 + 6 * sets + 10, false);
    size_t start = 0, count = 0;
    switch (isym) {
    case 0:
        count = mc;
        break;
    case 1:
        count = 1;
        break;
    case 2:
        count = mc / 2 + 1;
        break;
    case 3:
        start = mc / 4;
        count = mc / 2 + 1;
        break;
    default:
        count = mc / 4 + 1;
        break;
    }
    m_eSymmetry = static_cast<Symmetry>(isym);
    const size_t needed = mc + ng + count * ng;
    if (tokens.size() < needed) return Fail(reason, "The intensity table is incomplete");
    std::vector<double> numbers(needed);
    for (size_t i = 0; i < needed; ++i)
        if (!ToNumber(tokens[i], numbers[i]))
            return Fail(reason, "The intensity table holds no number: " + tokens[i]);
    if (isym != 1 && (mc == 0 || start + count > static_cast<size_t>(mc)))
        return Fail(reason, "The number of C planes does not fit the symmetry");
    for (size_t k = 0; k < count; ++k)
        m_Planes.push_back(isym == 1 ? 0.0 : numbers[start + k]);
    m_Gammas.assign(numbers.begin() + mc, numbers.begin() + mc + ng);
    for (size_t k = 0; k < count; ++k) {
        const auto first = numbers.begin() + mc + ng + k * ng;
        m_Values.emplace_back(first, first + ng);
    }
    m_bRelative = true;
    return Finish(reason);
}

bool CPhotometry::ReadIesText(const std::string& text, std::string* reason) {
    *this = CPhotometry();
    const std::vector<std::string> lines = SplitLines(text);
    size_t tilt = lines.size();
    bool include = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string l = TrimWhiteSpace(lines[i]);
        auto rest = [&](size_t n) { return WideCharFromAscii(TrimWhiteSpace(l.substr(n))); };
        if (StartsNoCase(l, "[MANUFAC]"))
            m_csMaker = rest(9);
        else if (StartsNoCase(l, "[LUMINAIRE]"))
            m_csName = rest(11);
        else if (StartsNoCase(l, "[LUMCAT]"))
            m_csNumber = rest(8);
        else if (StartsNoCase(l, "TILT")) {
            include = l.find("INCLUDE") != std::string::npos || l.find("include") != std::string::npos;
            tilt = i;
            break;
        }
    }
    if (tilt == lines.size()) return Fail(reason, "No TILT line");
    std::vector<std::string> tokens = Tokens(lines, tilt + 1, true);
    std::vector<double> numbers;
    numbers.reserve(tokens.size());
    for (const std::string& token : tokens) {
        double v;
        if (!ToNumber(token, v)) return Fail(reason, "The photometric data hold no number: " + token);
        numbers.push_back(v);
    }
    size_t at = 0;
    if (include) {
        if (numbers.size() < 2 || numbers[1] < 0 || numbers[1] > kMaxAngles)
            return Fail(reason, "The tilt data are damaged");
        at = 2 + 2 * static_cast<size_t>(numbers[1]);
    }
    if (numbers.size() < at + 13) return Fail(reason, "The lamp data are incomplete");
    const double lamps = numbers[at], lumensPerLamp = numbers[at + 1], multiplier = numbers[at + 2];
    const double nv = numbers[at + 3], nh = numbers[at + 4];
    if (nv < 1 || nv > kMaxAngles || nh < 1 || nh > kMaxAngles)
        return Fail(reason, "The numbers of angles are damaged");
    m_dWatts = numbers[at + 12] > 0 ? numbers[at + 12] : -1.0;
    at += 13;
    const size_t nV = static_cast<size_t>(nv), nH = static_cast<size_t>(nh);
    if (numbers.size() < at + nV + nH + nV * nH) return Fail(reason, "The intensity table is incomplete");
    m_Gammas.assign(numbers.begin() + at, numbers.begin() + at + nV);
    m_Planes.assign(numbers.begin() + at + nV, numbers.begin() + at + nV + nH);
    at += nV + nH;
    const double lampLumens = lamps * lumensPerLamp;
    m_bRelative = lampLumens > 0;
    m_dLampLumens = m_bRelative ? lampLumens : -1.0;
    const double scale = multiplier * (m_bRelative ? 1000.0 / lampLumens : 1.0);
    for (size_t h = 0; h < nH; ++h) {
        std::vector<double> plane(nV);
        for (size_t v = 0; v < nV; ++v)
            plane[v] = numbers[at + h * nV + v] * scale;
        m_Values.push_back(std::move(plane));
    }
    const double last = m_Planes.back();
    if (nH == 1)
        m_eSymmetry = SYM_ROTATIONAL;
    else if (m_Planes.front() == 0 && last == 90)
        m_eSymmetry = SYM_QUADRANT;
    else if (m_Planes.front() == 0 && last == 180)
        m_eSymmetry = SYM_C0_C180;
    else if (m_Planes.front() == 90 && last == 270)
        m_eSymmetry = SYM_C90_C270;
    else
        m_eSymmetry = SYM_NONE;
    if (!Finish(reason)) return false;
    if (m_bRelative) m_dLor = IntegrateFlux() / 10.0;
    return true;
}

bool CPhotometry::Finish(std::string* reason) {
    auto ascending = [](const std::vector<double>& v) {
        return std::is_sorted(v.begin(), v.end()) && std::adjacent_find(v.begin(), v.end()) == v.end();
    };
    if (!ascending(m_Planes) || !ascending(m_Gammas)) {
        m_Values.clear();
        return Fail(reason, "The angles are not in ascending order");
    }
    return true;
}

double CPhotometry::FoldPlane(double c) const {
    c = std::fmod(c, 360.0);
    if (c < 0) c += 360.0;
    switch (m_eSymmetry) {
    case SYM_ROTATIONAL:
        return 0.0;
    case SYM_C0_C180:
        return c > 180 ? 360 - c : c;
    case SYM_C90_C270:
        return c < 90 ? 180 - c : (c > 270 ? 540 - c : c);
    case SYM_QUADRANT:
        if (c > 180) c = 360 - c;
        return c > 90 ? 180 - c : c;
    default:
        return c;
    }
}

double CPhotometry::PlaneValue(size_t plane, double gamma) const {
    if (gamma < m_Gammas.front() || gamma > m_Gammas.back()) return 0.0;
    size_t lo, hi;
    double t;
    Bracket(m_Gammas, gamma, lo, hi, t);
    return m_Values[plane][lo] * (1 - t) + m_Values[plane][hi] * t;
}

double CPhotometry::GetIntensity(double c, double gamma) const {
    if (m_Values.empty() || m_Gammas.empty()) return 0.0;
    if (m_Values.size() == 1) return PlaneValue(0, gamma);
    const double folded = FoldPlane(c);
    // A full circle closes between its last plane and the first one turned once round.
    if (m_eSymmetry == SYM_NONE && (folded > m_Planes.back() || folded < m_Planes.front())) {
        const double first = m_Planes.front() + 360.0, span = first - m_Planes.back();
        double x = folded < m_Planes.front() ? folded + 360.0 : folded;
        const double t = span > 0 ? (x - m_Planes.back()) / span : 0.0;
        return PlaneValue(m_Planes.size() - 1, gamma) * (1 - t) + PlaneValue(0, gamma) * t;
    }
    size_t lo, hi;
    double t;
    Bracket(m_Planes, folded, lo, hi, t);
    return PlaneValue(lo, gamma) * (1 - t) + PlaneValue(hi, gamma) * t;
}

double CPhotometry::GetMaxIntensity() const {
    double top = 0.0;
    for (const auto& plane : m_Values)
        for (double v : plane)
            top = std::max(top, v);
    return top;
}

double CPhotometry::IntegrateFlux() const {
    // Midpoint rule: 5 degree planes, 1 degree angles; close enough for a ratio shown in percent.
    const double dc = 5.0, dg = 1.0, rad = kPi / 180.0;
    double flux = 0.0;
    for (double c = dc / 2; c < 360.0; c += dc)
        for (double g = dg / 2; g < 180.0; g += dg)
            flux += GetIntensity(c, g) * std::sin(g * rad);
    return flux * dc * rad * dg * rad;
}
