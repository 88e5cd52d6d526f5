// Locale-independent number texts shared by the parameter display and the
// editor: a host may switch LC_NUMERIC to a decimal comma, and the texts must
// still read "632.5".
#pragma once

// Fixed eight-character decimal text: sign, integer digits, point and as many
// truncated fraction digits as fill eight characters ("-21.4256", "0.000000").
void writeFixedWidthNumber(float value, char* text);

// 20·log10(value) as a fixed-width number, or "-oo" for zero and below.
void writeDecibelText(float value, char* text);

// The same text printf would give for "%.<decimals>f", in the C locale.
void writeFixed(double value, int decimals, char* text);

// Parameter texts written into a host's buffer never exceed this many bytes,
// terminator included, whatever value is stored: hosts allocate little (often
// exactly what the format's documentation suggests), and the longest text of
// an in-range value, "Saturation1", needs 12.
constexpr int kHostTextSize = 16;

// writeFixed when the text fits kHostTextSize; otherwise (values far outside
// any parameter's range) the number in scientific notation with one decimal,
// "2.0e+61", which always fits.
void writeFixedForHost(double value, int decimals, char* text);

// Truncates toward zero into int32, giving 0 for NaN and saturating outside
// the range, so that no conversion is undefined.
int saturatingTruncate(double value);
