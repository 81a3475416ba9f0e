#include "platform/errorhandling.h"

#include "platform/messagebox.h"
#include "platform/runtimeerror.h"

void runIgnoringErrors(std::initializer_list<std::function<void()>> steps) {
    for (const auto &step : steps) {
        try {
            step();
        } catch (const RuntimeError &) {
            // The step is skipped; the handler goes on with the next one.
        }
    }
}

void runReportingErrors(const std::function<void()> &handler) {
    try {
        handler();
    } catch (...) {
        reportCurrentError();
    }
}

void reportCurrentError() {
    try {
        throw;
    } catch (const RuntimeError &error) {
        MsgBox(error.Description(), MsgBoxStyle::OkOnly);
    } catch (const std::exception &error) {
        MsgBox(QString::fromLocal8Bit(error.what()), MsgBoxStyle::OkOnly);
    } catch (...) {
        MsgBox(QStringLiteral("Unexpected error"), MsgBoxStyle::OkOnly);
    }
}
