#pragma once

// Number <-> text conversions used by every message, dialog, log line and report.
//
// The general form writes a value with up to 7 (float) or 15 (double) significant digits,
// drops trailing zeros and a trailing decimal point, always uses "." and a leading zero
// before it, and switches to exponent form ("1E-05", "1.5E+07") when the decimal exponent
// of the rounded value is below -4 or reaches the digit count. The classic form is the same
// text with one leading blank for values that are not negative.

#include <cstddef>
#include <string>
#include <string_view>

namespace vortak {

std::string general(float value);
std::string general(double value);
std::string classic(float value);
std::string classic(double value);

// The general form with as few digits as it takes, from 7 (float) or 15 (double) up to
// 9 or 17, for the text to read back as exactly the same value. Files use it so that
// nothing is lost between saving and opening.
std::string exact(float value);
std::string exact(double value);

// v rounded to n decimals (halves to even) in double precision, with no limit on the size of
// v: for values on screen and in labels.
double roundDecimals(double v, int n);

// Counts and entity numbers: plain decimal integers.
std::string whole(long long value);

// The longest leading part of `text` that forms a decimal number: optional blanks, an
// optional sign, digits with an optional "." and fraction, and an optional exponent
// ("E" or "e", optional sign, digits). `length` is the number of characters used (0 when
// the text has no numeric prefix, and then `value` is 0). A magnitude beyond the double
// range gives an infinite value, and a non-zero magnitude below it the smallest subnormal
// value of its sign, never 0: callers that store numbers must refuse both.
struct NumberPrefix {
    double value = 0.0;
    std::size_t length = 0;
};
NumberPrefix leadingNumber(std::string_view text);

// Lenient reading of typed numbers: the value of the leading numeric part, 0 when there
// is none. May be infinite for absurd exponents (see above).
double readNumber(std::string_view text);

// Whether a number can be stored in a field of the given precision and stay the number it
// is: it must round to a finite value there, and a value that is not zero must not become
// zero or subnormal (a load of 1E-50 would otherwise be logged but stored as nothing).
// Everything the program stores, from a dialog or from a file, passes these.
bool fitsInFloat(double value);
bool fitsInDouble(double value);

}  // namespace vortak
