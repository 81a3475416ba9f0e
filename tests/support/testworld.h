#pragma once

#include "scriptedplatform.h"

#include <QTemporaryDir>
#include <functional>

// A world of its own for one test: a program folder, settings and cache folders and the
// scripted platform, all in a temporary folder that goes away with the test.
class TestWorld {
public:
    TestWorld();
    ~TestWorld();

    ScriptedPlatform platform;

    QString programFolder() const;
    QString diaryFolder() const;
    QString settingsFolder() const;
    QString path(const QString &relative) const;

    // Writes the pending settings to disk and forgets them, as the end of a run does.
    void endRun();

private:
    QTemporaryDir dir_;
};

// Writes a file of the test's own, making its folder first.
void writeFile(const QString &path, const QByteArray &bytes);

// The number of the run-time error a step raises, 0 when it raises none.
int errorNumberOf(const std::function<void()> &step);
