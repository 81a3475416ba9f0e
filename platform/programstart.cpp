#include "platform/programstart.h"

#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>

namespace {
// The system's reason from Qt's description of a failed start ("execv: Permission
// denied" gives "Permission denied").
QString reasonOf(const QProcess &process) {
    static const QRegularExpression callName(QStringLiteral("^\\w+: "));
    QString reason = process.errorString();
    reason.remove(callName);
    return reason;
}

// The program a name without a folder stands for, found along PATH; a folder of PATH
// that is not a full path (".", or an empty entry) is the current folder, whatever it
// is, and is passed over.
QString programAlongPath(const QString &name) {
    QStringList folders;
    for (const QString &folder : qEnvironmentVariable("PATH").split(QLatin1Char(':'))) {
        if (QDir::isAbsolutePath(folder))
            folders << folder;
    }
    return QStandardPaths::findExecutable(name, folders);
}
} // namespace

void startDetachedProgram(const QString &program, const QStringList &arguments) {
    if (program.isEmpty())
        raiseError(ErrorNumber::InvalidProcedureCall,
                   QStringLiteral("There is no program to start: the command line is empty."));
    // A program is named by its full path or found along PATH: a name relative to the
    // current folder would run whatever file stands there.
    if (program.contains(QLatin1Char('/')) && !QDir::isAbsolutePath(program))
        raiseError(ErrorNumber::FileNotFound,
                   QStringLiteral("The program \"%1\" could not be started: a program is named "
                                  "by its full path or found along PATH, never in the current "
                                  "folder.")
                       .arg(program));
    const QString found = program.contains(QLatin1Char('/')) ? program : programAlongPath(program);
    if (found.isEmpty())
        raiseError(ErrorNumber::FileNotFound,
                   QStringLiteral("The program \"%1\" could not be started: %2.")
                       .arg(program, qt_error_string(ENOENT)));
    // Qt starts a detached program through a second, short-lived child that opens a new
    // session, so the program is neither ORVANEL's child nor in its terminal's session.
    QProcess process;
    process.setProgram(found);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return;
    raiseError(QFileInfo::exists(found) ? ErrorNumber::PermissionDenied : ErrorNumber::FileNotFound,
               QStringLiteral("The program \"%1\" could not be started: %2.")
                   .arg(program, reasonOf(process)));
}
