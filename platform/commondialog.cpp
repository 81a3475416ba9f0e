#include "platform/commondialog.h"

#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QPrinter>

CommonDialog::CommonDialog() = default;
CommonDialog::~CommonDialog() = default;

QPrinter &CommonDialog::printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CommonDialog::cancelled() {
    if (CancelError)
        raiseError(ErrorNumber::DialogCancelled);
}

void CommonDialog::ShowOpen() {
    FileName = platform().fileDialog(FileDialogKind::Open, DialogTitle, Filter, InitDir, Flags,
                                     &FilterIndex);
    if (FileName.isEmpty())
        cancelled();
}

void CommonDialog::ShowSave() {
    FileName = platform().fileDialog(FileDialogKind::Save, DialogTitle, Filter, InitDir, Flags,
                                     &FilterIndex);
    if (FileName.isEmpty())
        cancelled();
}

QPrinter *CommonDialog::ShowPrinter() {
    if (platform().printDialog(DialogTitle, Flags, printer()))
        return &printer();
    cancelled();
    return nullptr;
}

void CommonDialog::ShowPageSetup() {
    if (!platform().pageSetupDialog(DialogTitle, printer()))
        cancelled();
}
