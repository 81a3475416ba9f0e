// Files of contacts dropped on a phone book window, or chosen with Tools > Import
// Contacts while it is active: each is imported after a question, its one-line result is
// shown, and the window reads the records afresh.
#include "phonebook/contacttransferjob.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/store/recordset.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {
// The vCard and CSV files among what is dragged.
QStringList contactFiles(const QMimeData *data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
        if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard") ||
            suffix == QLatin1String("csv"))
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

bool frmPhoneBook::contactDragEvent(QEvent *event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (contactFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = contactFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        // The questions come once the drag is over, so that the program the files came
        // from is not held while they are asked.
        QMetaObject::invokeMethod(
            this, [this, files] { importContactFiles(files); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void frmPhoneBook::dragEnterEvent(QDragEnterEvent *event) {
    if (!contactDragEvent(event))
        QWidget::dragEnterEvent(event);
}

void frmPhoneBook::dragMoveEvent(QDragMoveEvent *event) {
    if (!contactDragEvent(event))
        QWidget::dragMoveEvent(event);
}

void frmPhoneBook::dropEvent(QDropEvent *event) {
    if (!contactDragEvent(event))
        QWidget::dropEvent(event);
}

bool frmPhoneBook::leaveEditMode() {
    if (!offerToSaveRecord())
        return false;
    if (bAdding || bEditing)
        cmdCancel_Click();
    return true;
}

void frmPhoneBook::importContactFiles(const QStringList &files) {
    for (const QString &file : files) {
        // Reading the records afresh would drop a record being added or edited.
        const bool imported = offerContactImport(file, this, [this] { return leaveEditMode(); });
        if (ContactTransferJob::endedForClosing())
            return;
        if (imported && adoPrimaryRS)
            cmdRefresh_Click();
    }
}
