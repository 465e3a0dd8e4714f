#include "base/TypedNumber.h"

#include "base/TextUtils.h"

#include <climits>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The unit matches whole, letters without regard to case ("60 w" is watts).
bool IsOneOfUnits(const std::string& text, const char* units) {
    const std::string list = units ? units : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find('|', start);
        if (end == std::string::npos) end = list.size();
        const std::string unit = list.substr(start, end - start);
        if (!unit.empty() && EqualsNoCase(text, unit)) return true;
        start = end + 1;
    }
    return false;
}

} // namespace

CTypedNumberReader::CTypedNumberReader(const std::string& decimalSign)
    : m_csDecimalSign(decimalSign.empty() ? "." : decimalSign) {}

std::string CTypedNumberReader::Normalise(const std::string& typed, const TypedNumberField& field) const {
    const std::string text = TrimWhiteSpace(typed);
    std::string number;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
    bool digits = false, decimals = false;
    while (i < text.size()) {
        if (IsDigit(text[i])) {
            number += text[i++];
            digits = true;
        } else if (!decimals && !field.whole &&
                   text.compare(i, m_csDecimalSign.size(), m_csDecimalSign) == 0) {
            number += '.';
            i += m_csDecimalSign.size();
            decimals = true;
        } else {
            break;
        }
    }
    if (!digits) return "";
    const std::string rest = TrimWhiteSpace(text.substr(i));
    if (!rest.empty() && !IsOneOfUnits(rest, field.units)) return "";
    return number;
}

bool CTypedNumberReader::Read(const std::string& text, const TypedNumberField& field, double& value) const {
    const std::string number = Normalise(text, field);
    if (number.empty()) return false;
    const double read = ParseDouble(number);
    if (!std::isfinite(read)) return false;
    value = read;
    return true;
}

bool CTypedNumberReader::Read(const std::string& text, const TypedNumberField& field, int& value) const {
    TypedNumberField whole = field;
    whole.whole = true;
    const std::string number = Normalise(text, whole);
    if (number.empty()) return false;
    const double read = ParseDouble(number);
    if (!(read >= INT_MIN && read <= INT_MAX)) return false;
    value = static_cast<int>(read);
    return true;
}

std::string CTypedNumberReader::Refusal(const TypedNumberField& field, const std::string& text) {
    return StrPrintf("%s: \"%s\" is not %s; enter %s", field.name, text.c_str(),
                     field.whole ? "a whole number" : "a number", field.range);
}

std::string CTypedNumberReader::Show(double value, int decimals, const std::string& suffix, int width) const {
    // Beyond six decimals the stored value was not typed: the usual decimals show it.
    std::string shown = FormatDouble(StrPrintf("%%.%df", decimals).c_str(), value);
    for (int d = decimals; d <= 6; ++d) {
        const std::string exact = FormatDouble(StrPrintf("%%.%df", d).c_str(), value);
        if (ParseDouble(exact) == value) {
            shown = exact;
            break;
        }
    }
    const size_t point = shown.find('.');
    if (point != std::string::npos) shown.replace(point, 1, m_csDecimalSign);
    if (static_cast<int>(shown.size()) < width) shown.insert(0, width - shown.size(), ' ');
    return shown + suffix;
}
