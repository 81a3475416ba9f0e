// The main window's tools for the whole diary: finding words in every entry, and the
// calendar of the days written.
#include "shell/frmmain.h"

#include "diary/diaryfiles.h"
#include "diary/frmcalendar.h"
#include "diary/frmdocument.h"
#include "diary/frmfind.h"
#include "phonebook/chosenconnection.h"
#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/rowtable.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QString cleanPath(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The birthdays of the phone book the phone book windows open; none when it cannot be
// read, as the calendar has nothing to tell about that.
QList<Birthday> phoneBookBirthdays() {
    QList<Birthday> birthdays;
    try {
        const std::unique_ptr<PhoneBookConnection> connection =
            openConnection(chosenConnectionString(platform().dataFolder()));
        RowTable rows;
        connection->readAll(rows);
        for (size_t row = 0; row < rows.size(); ++row) {
            const Values values = rows.values(row);
            const Value &born = values[indexOf(Field::DateOfBirth)];
            if (!born)
                continue;
            if (const auto birthday =
                    birthdayOf(*born, values[indexOf(Field::Name)].value_or(QString())))
                birthdays << *birthday;
        }
    } catch (const RuntimeError &) {
    }
    return birthdays;
}

} // namespace

template <typename Window> Window *frmMain::openChild() const {
    for (QMdiSubWindow *window : mdiArea_->subWindowList()) {
        if (auto *found = qobject_cast<Window *>(window->widget()))
            return found;
    }
    return nullptr;
}

void frmMain::mnuToolsFindInDiary_Click() {
    if (frmFind *open = openChild<frmFind>()) {
        mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
        open->txtFind->setFocus();
        open->txtFind->selectAll();
        return;
    }
    auto *find = new frmFind(diaryFolder());
    connect(find, &frmFind::entryChosen, this, &frmMain::showFoundEntry);
    addChildWindow(find);
    find->txtFind->setFocus();
}

void frmMain::mnuToolsDiaryCalendar_Click() {
    if (frmCalendar *open = openChild<frmCalendar>()) {
        mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
        open->setFocus();
        return;
    }
    auto *calendar = new frmCalendar(diaryFolder(), phoneBookBirthdays);
    connect(calendar, &frmCalendar::dayOpened, this, &frmMain::openDiaryDay);
    addChildWindow(calendar);
    calendar->setFocus();
}

void frmMain::refreshCalendarBirthdays() {
    if (frmCalendar *calendar = openChild<frmCalendar>())
        calendar->refreshBirthdays();
}

frmDocument *frmMain::bringForwardEntry(const QString &path) {
    const QString wanted = cleanPath(path);
    for (frmDocument *open : diary_.windows()) {
        if (cleanPath(entryFile(*open)) == wanted) {
            mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
            return open;
        }
    }
    return nullptr;
}

void frmMain::showFoundEntry(const QString &path, const SearchTerms &terms) {
    frmDocument *document = bringForwardEntry(path);
    if (!document) {
        openDiaryFiles({path});
        document = activeDiary();
        if (!document || cleanPath(entryFile(*document)) != cleanPath(path))
            return;
    }
    document->showFound(terms);
    document->setFocus();
}

void frmMain::openDiaryDay(const QDate &day, const QString &entryPath) {
    if (!entryPath.isEmpty()) {
        frmDocument *document = bringForwardEntry(entryPath);
        if (!document)
            openDiaryFiles({entryPath});
        else
            document->setFocus();
        return;
    }
    // A day without an entry starts one titled for that day, which Save writes under
    // that name as any new entry.
    LoadNewDoc();
    if (frmDocument *document = activeDiary())
        document->setWindowTitle(entryNameFor(day));
}
