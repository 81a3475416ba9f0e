#include "platform/programstart.h"

#include "platform/runtimeerror.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
// The system's reason from Qt's description of a failed start ("execv: Permission
// denied" gives "Permission denied").
QString reasonOf(const QProcess &process) {
    static const QRegularExpression callName(QStringLiteral("^\\w+: "));
    QString reason = process.errorString();
    reason.remove(callName);
    return reason;
}

bool programExists(const QString &program) {
    if (program.contains(QLatin1Char('/')))
        return QFileInfo::exists(program);
    return !QStandardPaths::findExecutable(program).isEmpty();
}
} // namespace

void startDetachedProgram(const QString &program, const QStringList &arguments) {
    if (program.isEmpty())
        raiseError(ErrorNumber::InvalidProcedureCall,
                   QStringLiteral("There is no program to start: the command line is empty."));
    // Qt starts a detached program through a second, short-lived child that opens a new
    // session, so the program is neither ORVANEL's child nor in its terminal's session.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return;
    raiseError(programExists(program) ? ErrorNumber::PermissionDenied : ErrorNumber::FileNotFound,
               QStringLiteral("The program \"%1\" could not be started: %2.")
                   .arg(program, reasonOf(process)));
}
