#include "model/CoordinateEntry.h"

#include "model/ModelGeometry.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A number as the user writes it: an optional sign, digits, and an optional decimal sign followed
// by digits. No exponent, no thousands separator, nothing else.
bool ParseNumber(const std::string& text, char decimalSign, double& value) {
    std::string plain;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t digits = 0;
    bool decimal = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            ++digits;
        } else if (c == decimalSign && !decimal) {
            plain += '.';
            decimal = true;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    if (plain[0] == '+') plain.erase(0, 1);
    const char* end = plain.data() + plain.size();
    const auto result = std::from_chars(plain.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value) &&
           std::fabs(value) <= kMaxCoordinate;
}

CoordinateEntry Refuse(const std::string& why) {
    CoordinateEntry entry;
    entry.error = why;
    return entry;
}

} // namespace

CoordinateEntry ParseCoordinateEntry(const std::string& typed, char decimalSign, const Point* last) {
    const std::string format = decimalSign == ','
                                   ? "Type x;y, @dx;dy or @length<angle in metres, for example 2,5;4 or @3,2<90"
                                   : "Type x,y, @dx,dy or @length<angle in metres, for example 2.5,4 or @3.2<90";
    std::string text;
    for (char c : typed)
        if (c != ' ' && c != '\t') text += c;
    if (text.empty()) return Refuse("Nothing typed.\n" + format);
    bool relative = false;
    if (text[0] == '@') {
        relative = true;
        text.erase(0, 1);
        if (!last) return Refuse("There is no corner yet to measure from: type the first corner as x" +
                                 std::string(decimalSign == ',' ? ";" : ",") + "y.");
    }
    std::string first, second;
    bool polar = false;
    if (const size_t angle = text.find('<'); angle != std::string::npos) {
        polar = true;
        first = text.substr(0, angle);
        second = text.substr(angle + 1);
    } else {
        size_t split = text.find(';');
        if (split == std::string::npos && decimalSign != ',') split = text.find(',');
        if (split == std::string::npos) return Refuse("\"" + typed + "\" is not a corner.\n" + format);
        first = text.substr(0, split);
        second = text.substr(split + 1);
    }
    double a = 0.0, b = 0.0;
    if (!ParseNumber(first, decimalSign, a) || !ParseNumber(second, decimalSign, b))
        return Refuse("\"" + typed + "\" is not a corner.\n" + format);
    CoordinateEntry entry;
    const Point origin = relative ? Point(last->x, last->y) : Point(0.0, 0.0);
    if (polar) {
        if (a < 0.0) return Refuse("A length cannot be negative.\n" + format);
        const double radians = b * kPi / 180.0;
        // Whole quarter turns stay exact: 3 m at 90 degrees is (0, 3), not (1.8e-16, 3).
        const double quarter = b / 90.0;
        double c = std::cos(radians), s = std::sin(radians);
        if (quarter == std::floor(quarter)) {
            const int q = static_cast<int>(std::fmod(std::fmod(quarter, 4.0) + 4.0, 4.0));
            c = q == 0 ? 1.0 : (q == 2 ? -1.0 : 0.0);
            s = q == 1 ? 1.0 : (q == 3 ? -1.0 : 0.0);
        }
        entry.point = Point(origin.x + a * c, origin.y + a * s);
    } else {
        entry.point = Point(origin.x + a, origin.y + b);
    }
    if (std::fabs(entry.point.x) > kMaxCoordinate || std::fabs(entry.point.y) > kMaxCoordinate)
        return Refuse("This corner lies too far away.");
    entry.ok = true;
    return entry;
}
