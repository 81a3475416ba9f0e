#pragma once

#include <QStringList>

// Starts a program with its arguments, directly and without waiting for it. The program
// runs in a session of its own, so it lives on when ORVANEL ends or its terminal closes.
// A name without a folder is looked for along PATH. Throws RuntimeError with the
// system's reason when the program cannot be started.
void startDetachedProgram(const QString &program, const QStringList &arguments);
