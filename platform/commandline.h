#pragma once

#include <QStringList>

// Splits a command line into its words as a POSIX shell splits them, without expanding
// anything: blanks separate words; single quotes keep everything up to the next single
// quote; double quotes keep everything up to the next double quote, where a backslash
// escapes ", \, $ and `; elsewhere a backslash keeps the next character as it is.
// Throws RuntimeError when a quote is not closed or the line ends in a backslash.
QStringList splitCommandLine(const QString &commandLine);
