#pragma once

#include "platform/scriptedplatform.h"

#include <QTemporaryDir>

// A world of its own for one test: a program folder, a settings folder and the scripted
// platform, all in a temporary folder that goes away with the test.
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
