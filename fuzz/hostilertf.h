#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// RTF files that are small or ordinary on disk but ask a reader for much work or memory:
// the shapes that once froze the diary for seconds or took gigabytes. The fuzzer's large
// seeds, the regression test and the benchmark all build them here, at any size.
namespace HostileRtf {

struct Kind {
    QString name;        // a file name without extension, "many-fonts"
    QString description; // what the file holds, for a report
};

// Every kind the generator makes.
QList<Kind> kinds();

// A file of the named kind, repeated until it is about `bytes` long (never much more).
// An unknown name gives an empty array.
QByteArray make(const QString &kind, qsizetype bytes);

// The size at which each kind first froze the reader or took hundreds of megabytes.
qsizetype reportedSize(const QString &kind);

} // namespace HostileRtf
