#pragma once

#include <QString>

// The number a text begins with, as numeric search fields compare them: blanks, tabs
// and line feeds are dropped wherever they stand; then an optional sign, digits, one
// decimal point and an optional exponent are read, or &H and &O with hexadecimal or
// octal digits, up to the first character that cannot go on. A text that does not
// begin with a number gives 0.
double leadingNumber(const QString &text);
