#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <unistd.h>

// The memory of this process and every process it started (a web engine renders in
// processes of its own), as the proportional set size in MiB: pages shared between them
// count once in all.
inline double processTreeMegabytes() {
    auto parentOf = [](const QString &pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 1 ? fields[1].toInt() : -1;
    };
    auto pssKilobytes = [](int pid) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            return 0L;
        for (const QByteArray &line : rollup.readAll().split('\n'))
            if (line.startsWith("Pss:"))
                return line.mid(4).trimmed().split(' ').first().toLong();
        return 0L;
    };
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    QList<int> tree{int(getpid())};
    long kilobytes = 0;
    for (qsizetype i = 0; i < tree.size(); ++i) {
        kilobytes += pssKilobytes(tree[i]);
        for (const QString &entry : entries)
            if (parentOf(entry) == tree[i])
                tree << entry.toInt();
    }
    return double(kilobytes) / 1024.0;
}
