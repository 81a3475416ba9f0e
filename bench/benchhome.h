#pragma once

#include <QTemporaryDir>

// Where a benchmark's program keeps its settings and recovery copies: in `home`, never in
// the user's own folders.
inline void useBenchHome(const QTemporaryDir &home) {
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("state")).toUtf8());
}

// The same, drawn offscreen unless the run names a display platform.
inline void useOffscreenBenchHome(const QTemporaryDir &home) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    useBenchHome(home);
}
