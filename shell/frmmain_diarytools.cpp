// The main window's tools for the whole diary: finding words in every entry.
#include "shell/frmmain.h"

#include "diary/diaryfiles.h"
#include "diary/frmdocument.h"
#include "diary/frmfind.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

template <typename Window> Window *frmMain::bringForward() const {
    for (QMdiSubWindow *window : mdiArea()->subWindowList()) {
        if (auto *found = qobject_cast<Window *>(window->widget())) {
            mdiArea()->setActiveSubWindow(window);
            return found;
        }
    }
    return nullptr;
}

void frmMain::mnuToolsFindInDiary_Click() {
    if (frmFind *open = bringForward<frmFind>()) {
        open->txtFind->setFocus();
        open->txtFind->selectAll();
        return;
    }
    auto *find = new frmFind(diaryFolder());
    connect(find, &frmFind::entryChosen, this, &frmMain::showFoundEntry);
    addChildWindow(find);
    find->txtFind->setFocus();
}

void frmMain::showFoundEntry(const QString &path, const SearchTerms &terms) {
    const QString wanted = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    frmDocument *document = nullptr;
    for (frmDocument *open : diaryWindows()) {
        if (QDir::cleanPath(QFileInfo(entryFile(*open)).absoluteFilePath()) == wanted) {
            document = open;
            mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
            break;
        }
    }
    if (!document) {
        openDiaryFiles({path});
        document = activeDiary();
        if (!document || QDir::cleanPath(QFileInfo(entryFile(*document)).absoluteFilePath()) != wanted)
            return;
    }
    document->showFound(terms);
    document->setFocus();
}
