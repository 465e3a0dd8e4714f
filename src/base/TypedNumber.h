#pragma once
// Numbers as a person types them into a form: the decimal sign of the user's locale, an optional
// unit of the field after the number, nothing else. A text that is not such a number is refused
// rather than read as some other value; the refusal names the field, the text and the range.

#include <string>

// What a numeric field of a form accepts.
struct TypedNumberField {
    const char* name;  // as the form labels it: "Latitude"
    const char* units; // units that may follow the number, "|" between them ("m", "\xC2\xB0|deg"); "" none
    const char* range; // what to enter: "degrees from 0 to 90"
    bool whole;        // an integer: decimals are refused
};

class CTypedNumberReader {
  public:
    // The decimal sign as the locale writes it ("." or ","); the other sign is refused.
    explicit CTypedNumberReader(const std::string& decimalSign = ".");

    // True with the value when the text is a finite number, optionally followed by one of the
    // field's units; leading and trailing blanks are ignored.
    bool Read(const std::string& text, const TypedNumberField& field, double& value) const;
    bool Read(const std::string& text, const TypedNumberField& field, int& value) const;

    // The message that refuses the text.
    static std::string Refusal(const TypedNumberField& field, const std::string& text);

    // The value with at least `decimals` decimals and at most six, as many as show it exactly
    // when six do; in this reader's decimal sign, padded with blanks in front to `width`
    // characters, followed by suffix.
    std::string Show(double value, int decimals, const std::string& suffix = "", int width = 0) const;

    const std::string& GetDecimalSign() const { return m_csDecimalSign; }

  private:
    // The number in the C locale's form, or "" when the text is none.
    std::string Normalise(const std::string& text, const TypedNumberField& field) const;

    std::string m_csDecimalSign;
};
