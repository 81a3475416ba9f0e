#include "platform/runtimeerror.h"

QString errorDescription(ErrorNumber number) {
    switch (number) {
#define ORVANEL_ERROR_DESCRIPTION(name, value, description)                                        \
    case ErrorNumber::name:                                                                        \
        return QStringLiteral(description);
        ORVANEL_RUNTIME_ERRORS(ORVANEL_ERROR_DESCRIPTION)
#undef ORVANEL_ERROR_DESCRIPTION
    }
    return QStringLiteral("Application-defined or object-defined error");
}

void raiseError(ErrorNumber number) {
    throw RuntimeError(number, errorDescription(number));
}

void raiseError(ErrorNumber number, const QString &description) {
    throw RuntimeError(number, description);
}
