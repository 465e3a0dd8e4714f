// Typed numbers: what a form accepts under a point and a comma decimal sign, and what it refuses.

#include "base/TypedNumber.h"

#include <gtest/gtest.h>

namespace {

const TypedNumberField kMetres = {"Floor height", "m", "metres from 1 to 200", false};
const TypedNumberField kDegrees = {"Latitude", "\xC2\xB0|deg", "degrees from 0 to 90", false};
const TypedNumberField kCount = {"Instances", "", "a whole number from 1 to 1000", true};

TEST(TypedNumberTest, ReadsOnlyNumbersInTheLocaleDecimalSign) {
    const std::string huge(400, '9');
    struct Case {
        const char* sign;
        const TypedNumberField* field;
        const char* text;
        bool read;
        double value;
    } cases[] = {
        {".", &kMetres, "3.5", true, 3.5},
        {".", &kMetres, "  3.5 m ", true, 3.5},
        {".", &kMetres, "3.5M", true, 3.5},
        {".", &kMetres, "-0.25", true, -0.25},
        {".", &kMetres, "+2", true, 2.0},
        {".", &kMetres, ".5", true, 0.5},
        {".", &kMetres, "5.", true, 5.0},
        {".", &kMetres, "3,5", false, 0},   // the other sign is no decimal sign here
        {".", &kMetres, "1,500", false, 0}, // never 1 nor 1500
        {".", &kMetres, "1.2.3", false, 0},
        {".", &kMetres, "3.5 mm", false, 0}, // another unit
        {".", &kMetres, "3.5 W", false, 0},
        {".", &kMetres, "abc", false, 0},
        {".", &kMetres, "", false, 0},
        {".", &kMetres, "   ", false, 0},
        {".", &kMetres, "-", false, 0},
        {".", &kMetres, ".", false, 0},
        {".", &kMetres, "1e3", false, 0},
        {".", &kMetres, "m", false, 0},
        {".", &kMetres, huge.c_str(), false, 0}, // beyond a double
        {".", &kDegrees, "45.75\xC2\xB0", true, 45.75},
        {".", &kDegrees, "45.75 deg", true, 45.75},
        {",", &kMetres, "3,5", true, 3.5},
        {",", &kMetres, "3,5 m", true, 3.5},
        {",", &kMetres, "3.5", false, 0},
        {",", &kMetres, "1.500", false, 0},
        {",", &kMetres, "1.500,5", false, 0},
    };
    for (const Case& c : cases) {
        CTypedNumberReader reader(c.sign);
        double value = -99.0;
        EXPECT_EQ(reader.Read(c.text, *c.field, value), c.read) << c.sign << " [" << c.text << "]";
        EXPECT_EQ(value, c.read ? c.value : -99.0) << c.sign << " [" << c.text << "]";
    }
}

TEST(TypedNumberTest, WholeNumbersRefuseDecimalsAndWhatAnIntCannotHold) {
    struct Case {
        const char* sign;
        const char* text;
        bool read;
        int value;
    } cases[] = {
        {".", "12", true, 12},         {".", " -3 ", true, -3},
        {",", "2", true, 2},           {".", "2.5", false, 0},
        {",", "2,5", false, 0},        {".", "2.0", false, 0},
        {".", "2,000", false, 0},      {".", "2147483647", true, 2147483647},
        {".", "2147483648", false, 0}, {".", "", false, 0},
        {".", "x1", false, 0},
    };
    for (const Case& c : cases) {
        CTypedNumberReader reader(c.sign);
        int value = -99;
        EXPECT_EQ(reader.Read(c.text, kCount, value), c.read) << c.sign << " [" << c.text << "]";
        EXPECT_EQ(value, c.read ? c.value : -99) << c.text;
    }
}

TEST(TypedNumberTest, RefusalNamesFieldTextAndRange) {
    EXPECT_EQ(CTypedNumberReader::Refusal(kDegrees, "abc"),
              "Latitude: \"abc\" is not a number; enter degrees from 0 to 90");
    EXPECT_EQ(CTypedNumberReader::Refusal(kCount, "2.5"),
              "Instances: \"2.5\" is not a whole number; enter a whole number from 1 to 1000");
}

TEST(TypedNumberTest, ShowsWhatIsStoredInTheLocaleSign) {
    struct Case {
        const char* sign;
        double value;
        int decimals;
        const char* suffix;
        const char* shown;
    } cases[] = {
        {".", 3.0, 2, " m", "3.00 m"},
        {",", 3.0, 2, " m", "3,00 m"},
        {".", 2.255, 2, "", "2.255"}, // typed with three decimals, shown with three
        {",", 0.123456, 3, "", "0,123456"},
        {".", 1.0 / 3.0, 2, "", "0.33"}, // not a typed value: the usual decimals
        {".", 0.1 + 0.2, 2, "", "0.30"},
        {".", -45.5, 1, "", "-45.5"},
        {".", 1500.0, 0, "", "1500"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTypedNumberReader(c.sign).Show(c.value, c.decimals, c.suffix), c.shown) << c.value;
}

} // namespace
