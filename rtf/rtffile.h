#pragma once

#include "platform/regularfile.h"

#include <QString>

// Reading an RTF file from disk: an ordinary file of at most `maxSize` bytes.
namespace RtfFile {

constexpr qint64 maxSize = 32 * 1024 * 1024;

using Outcome = RegularFile::Outcome;
using Result = RegularFile::Result;

Result read(const QString &path);

// What the user is told for an outcome other than Read and Failed.
QString refusal(const Result &result, const QString &shownPath);

} // namespace RtfFile
