// Phone book windows as the user works with them: opening from Run > PhoneBook,
// browsing with the buttons and keys, adding, editing, deleting, refreshing, two
// windows and other programs on one phone book, closing, and the search. Every case
// runs twice: on a phone book file, and on a phone book on a PostgreSQL server that
// the test starts.
#include "filepermissions.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/store/recordset.h"
#include "phonebookuser.h"
#include "phonebookworld.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "platform/units.h"
#include "postgresserver.h"
#include "shell/frmmain.h"
#include "shell/module1.h"
#include "startprogram.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

PhoneBookProvider globalProvider() {
    QFETCH_GLOBAL(PhoneBookProvider, provider);
    return provider;
}

// What Update and Delete say when another window or program changed the record first.
const QString changed = "This record was changed or deleted by another program or window after "
                        "this window read it. Nothing was written: your change is still here. "
                        "Refresh shows the current values.";
const QString notDeleted = "This record was changed or deleted by another program or window "
                           "after this window read it, so it was not deleted. Refresh shows the "
                           "current values.";

// A book of five contacts, serial numbers 2, 4, 7, 10, 30: the text "10" sorts before "2".
QList<PhoneBookWorld::Row> fiveContacts() {
    return {contactRow("10", "Dev Patel", "Pune", "020 7946 0001"),
            contactRow("2", "Anna Berg", "Leeds", "0113 496 0000"),
            contactRow("30", "anna berg", "Leeds", "01134960000"),
            contactRow("7", "Chen Wei", "Osaka", "+81 6 1234 5678"),
            contactRow("4", "Bea Ode", "Leeds", "555 0100")};
}

} // namespace

class tst_PhoneBookWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data();
    void initTestCase();
    void cleanupTestCase();
    void opensOnTheLowestSerialNumber();
    void navigationButtons_data();
    void navigationButtons();
    void recordKeys_data();
    void recordKeys();
    void editModeIgnoresTheRecordKeys();
    void addedRecordStaysLastUntilRefresh();
    void editThenCancel();
    void updateRefusals_data();
    void updateRefusals();
    void deleteMovesOn_data();
    void deleteMovesOn();
    void missingDatabaseTellsOnceAndLeavesNoFile();
    void changesMadeElsewhereAreRefused_data();
    void changesMadeElsewhereAreRefused();
    void databaseLockedByAnotherProgram();
    void fileChangedUnderTheWindow_data();
    void fileChangedUnderTheWindow();
    void closingAsksAboutAnUnsavedRecord_data();
    void closingAsksAboutAnUnsavedRecord();
    void addressTakesTwoHundredCharacters();
    void valueTooLongIsShownCutAndKept();
    void screenReaderHearsAndUsesTheControls();
    void search_data();
    void search();
    void searchFrameStates();
    void searchOnAnEmptyBook();
    void searchFrameKeepsItsKeys();
    void altAndAButtonLetterPressIt_data();
    void altAndAButtonLetterPressIt();
    void closedRecordSetIsToldByEveryCommand();
    void rowOfAnotherEncodingChangesAndGoes();
};

void tst_PhoneBookWindow::initTestCase_data() {
    QTest::addColumn<PhoneBookProvider>("provider");
    QTest::newRow("file") << PhoneBookProvider::SQLite;
    QTest::newRow("server") << PhoneBookProvider::PostgreSQL;
}

void tst_PhoneBookWindow::initTestCase() {
    QVERIFY2(sharedPostgresServer().start(), qPrintable(sharedPostgresServer().error()));
}

void tst_PhoneBookWindow::cleanupTestCase() {
    QVERIFY(sharedPostgresServer().stop());
}

void tst_PhoneBookWindow::opensOnTheLowestSerialNumber() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    QCOMPARE(book.windowTitle(), QString("Orvanel Phone Book"));
    QVERIFY(session.main->mdiArea()->currentSubWindow()->isMaximized());
    QCOMPARE(status(book), QString("Record: 1"));
    QCOMPARE(text(book, serialBox), QString("2"));
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
    QCOMPARE(text(book, addressBox), QString());
    QVERIFY(locked(book));
    for (QPushButton *shown :
         {book.cmdAdd, book.cmdEdit, book.cmdDelete, book.cmdRefresh, book.cmdClose, book.Command1})
        QVERIFY(shown->isVisible());
    QVERIFY(!book.cmdUpdate->isVisible() && !book.cmdCancel->isVisible());
    QVERIFY(!book.Frame1->isVisible());
    QCOMPARE(world.platform.messages.size(), 0);
    // Each Run > PhoneBook opens a window of its own, with a position of its own.
    frmPhoneBook *second = openPhoneBook(*session.main);
    QVERIFY(second && second != session.book);
    QCOMPARE(windowCount(*session.main), 2);
    press(second->cmdLast);
    QCOMPARE(status(*second), QString("Record: 5"));
    QCOMPARE(status(book), QString("Record: 1"));
}

void tst_PhoneBookWindow::navigationButtons_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("message");
    const QString noRecords = "There is no current record: the phone book has no records.";
    const struct {
        const char *name;
        int records;
        QStringList presses;
        const char *status;
        int beeps;
        QString message;
    } rows[] = {
        {"next twice", 5, {"Next", "Next"}, "Record: 3", 0, ""},
        {"next at the last record beeps", 5, {"Last", "Next"}, "Record: 5", 1, ""},
        {"previous at the first record beeps", 5, {"Previous"}, "Record: 1", 1, ""},
        {"first after last", 5, {"Last", "First"}, "Record: 1", 0, ""},
        {"next and previous on an empty book are silent",
         0,
         {"Next", "Previous"},
         "Record: -1",
         0,
         ""},
        {"first on an empty book fails", 0, {"First"}, "Record: -1", 0, noRecords},
        {"last on an empty book fails", 0, {"Last"}, "Record: -1", 0, noRecords},
        // Back in browse mode, the label shows the record's position again.
        {"edit, update", 5, {"Next", "Edit", "Update"}, "Record: 2", 0, ""},
        // Cancel goes back to the record current at the last Add, which is gone by then.
        {"edit, cancel after the record of the last add was deleted",
         5,
         {"Next", "Add", "Cancel", "Delete", "Edit", "Cancel"},
         "Record: 2",
         0,
         ""},
        {"add, cancel on an empty book", 0, {"Add", "Cancel"}, "Record: -1", 0, ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.records << row.presses << QString(row.status) << row.beeps
                                << row.message;
}

void tst_PhoneBookWindow::navigationButtons() {
    QFETCH(int, records);
    QFETCH(QStringList, presses);
    QFETCH(QString, status);
    QFETCH(int, beeps);
    QFETCH(QString, message);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts().mid(0, records));
    if (!message.isEmpty())
        world.platform.answerMessage(MsgBoxResult::Ok);
    for (const QString &name : presses)
        press(session.book->findChild<QPushButton *>("cmd" + name));
    QCOMPARE(::status(*session.book), status);
    QCOMPARE(world.platform.beeps, beeps);
    QCOMPARE(lastMessages(world, 1).join(""), message);
}

void tst_PhoneBookWindow::recordKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("status"); // starting on record 3
    const int ctrl = Qt::ControlModifier;
    const struct {
        const char *name;
        int key, modifiers;
        const char *status;
    } rows[] = {
        {"Home", Qt::Key_Home, 0, "Record: 1"},
        {"End", Qt::Key_End, 0, "Record: 5"},
        {"Up", Qt::Key_Up, 0, "Record: 2"},
        {"Page Up", Qt::Key_PageUp, 0, "Record: 2"},
        {"Down", Qt::Key_Down, 0, "Record: 4"},
        {"Page Down", Qt::Key_PageDown, 0, "Record: 4"},
        {"Ctrl+Up", Qt::Key_Up, ctrl, "Record: 1"},
        {"Ctrl+Page Up", Qt::Key_PageUp, ctrl, "Record: 1"},
        {"Ctrl+Down", Qt::Key_Down, ctrl, "Record: 5"},
        {"Ctrl+Page Down", Qt::Key_PageDown, ctrl, "Record: 5"},
        {"Ctrl+Shift+Down is Next", Qt::Key_Down, ctrl | Qt::ShiftModifier, "Record: 4"},
        {"Shift+Up is Previous", Qt::Key_Up, Qt::ShiftModifier, "Record: 2"},
        {"Ctrl+End", Qt::Key_End, ctrl, "Record: 5"},
        {"a letter does nothing", Qt::Key_X, 0, "Record: 3"},
        {"Escape closes the window", Qt::Key_Escape, 0, "<closed>"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.key << row.modifiers << QString(row.status);
}

void tst_PhoneBookWindow::recordKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, status);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdNext);
    press(book.cmdNext);
    // The keys work wherever the focus is in the window: a field box, a button.
    for (QWidget *focus :
         {box(book, nameBox), box(book, addressBox), static_cast<QWidget *>(book.cmdEdit)}) {
        if (status == "<closed>") {
            QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QTest::qWait(0);
            QCOMPARE(windowCount(*session.main), 0);
            return;
        }
        press(book.cmdFirst);
        press(book.cmdNext);
        press(book.cmdNext);
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(::status(book), status);
    }
    QCOMPARE(world.platform.beeps, 0);
}

void tst_PhoneBookWindow::editModeIgnoresTheRecordKeys() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdNext);
    press(book.cmdEdit);
    QCOMPARE(status(book), QString("Edit record"));
    QVERIFY(!locked(book));
    for (QPushButton *navigation : {book.cmdFirst, book.cmdPrevious, book.cmdNext, book.cmdLast})
        QVERIFY(!navigation->isEnabled());
    for (QPushButton *hidden :
         {book.cmdAdd, book.cmdEdit, book.cmdDelete, book.cmdRefresh, book.cmdClose})
        QVERIFY(!hidden->isVisible());
    QVERIFY(book.cmdUpdate->isVisible() && book.cmdCancel->isVisible());
    QVERIFY(book.Command1->isVisible() && book.Command1->isEnabled());
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(box(book, cityBox), key);
    QCOMPARE(windowCount(*session.main), 1);
    QCOMPARE(text(book, nameBox), QString("Bea Ode"));
    QCOMPARE(status(book), QString("Edit record"));
}

void tst_PhoneBookWindow::addedRecordStaysLastUntilRefresh() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdNext);
    press(book.cmdAdd);
    QCOMPARE(status(book), QString("Add record"));
    QCOMPARE(text(book, nameBox), QString());
    typeInto(book, serialBox, "1");
    typeInto(book, nameBox, "Aaron First");
    typeInto(book, addressBox, "1 Long Lane");
    QTest::keyClick(box(book, addressBox), Qt::Key_Return);
    QTest::keyClicks(box(book, addressBox), "Flat 2");
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 0);
    QVERIFY(locked(book));
    // Written, and current at the end of this window's records.
    QCOMPARE(world.column("NAME").first(), QString("Aaron First"));
    QCOMPARE(world.column("ADDRESS").first(), QString("1 Long Lane\nFlat 2"));
    QCOMPARE(world.column("CITY").first(), QString("<null>"));
    QCOMPARE(status(book), QString("Record: 6"));
    press(book.cmdFirst);
    press(book.cmdLast);
    QCOMPARE(text(book, nameBox), QString("Aaron First"));
    // Refresh puts it in serial-number order.
    press(book.cmdRefresh);
    QCOMPARE(status(book), QString("Record: 1"));
    QCOMPARE(text(book, nameBox), QString("Aaron First"));
    press(book.cmdLast);
    QCOMPARE(text(book, nameBox), QString("anna berg"));
    // Without a serial number, the next after the highest.
    press(book.cmdAdd);
    typeInto(book, nameBox, "No Number");
    press(book.cmdUpdate);
    QCOMPARE(text(book, serialBox), QString("31"));
    QCOMPARE(world.column("NAME").last(), QString("No Number"));
}

void tst_PhoneBookWindow::editThenCancel() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdLast);
    press(book.cmdEdit);
    typeInto(book, nameBox, "Someone Else");
    typeInto(book, cityBox, "");
    press(book.cmdCancel);
    // No Add since the window opened: Cancel goes to the first record.
    QCOMPARE(status(book), QString("Record: 1"));
    QVERIFY(locked(book));
    QVERIFY(book.cmdAdd->isVisible() && book.cmdLast->isEnabled());
    press(book.cmdLast);
    QCOMPARE(text(book, nameBox), QString("anna berg"));
    QCOMPARE(text(book, cityBox), QString("Leeds"));
    QCOMPARE(world.column("NAME").last(), QString("anna berg"));
    // After an Add, Cancel goes back to the record that was current then.
    press(book.cmdFirst);
    press(book.cmdNext);
    press(book.cmdAdd);
    press(book.cmdCancel);
    QCOMPARE(status(book), QString("Record: 2"));
    QCOMPARE(world.rowCount(), 5);
    QCOMPARE(world.platform.messages.size(), 0);
}

void tst_PhoneBookWindow::updateRefusals_data() {
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("message");
    const QString notWhole = "The SERIAL NUMBER must be a whole number; \"%1\" is not one.";
    QTest::newRow("serial number of another record")
        << "7"
        << QString("Another record already has 7 as its SERIAL NUMBER. Each record needs a "
                   "SERIAL NUMBER of its own.");
    QTest::newRow("serial number that is not a number") << "seven" << notWhole.arg("seven");
    QTest::newRow("serial number with a fraction") << "7.5" << notWhole.arg("7.5");
}

void tst_PhoneBookWindow::updateRefusals() {
    QFETCH(QString, serial);
    QFETCH(QString, message);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdAdd);
    typeInto(book, serialBox, serial);
    typeInto(book, nameBox, "New Person");
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdUpdate);
    QCOMPARE(lastMessages(world, 1), QStringList{message});
    // Nothing written; the window stays in edit mode with what was typed.
    QCOMPARE(world.rowCount(), 5);
    QCOMPARE(status(book), QString("Add record"));
    QCOMPARE(text(book, nameBox), QString("New Person"));
    QVERIFY(book.cmdUpdate->isVisible());
    // Corrected, it goes in.
    typeInto(book, serialBox, "8");
    press(book.cmdUpdate);
    QCOMPARE(world.rowCount(), 6);
    QCOMPARE(world.column("NAME")[3], QString("New Person"));
}

void tst_PhoneBookWindow::deleteMovesOn_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("a middle record") << 5 << 2 << "Record: 2" << QString("Chen Wei") << QString();
    QTest::newRow("the last record") << 5 << 5 << "Record: 4" << QString("Dev Patel") << QString();
    QTest::newRow("the only record")
        << 1 << 1 << "" << QString("Dev Patel")
        << QString("There is no current record: the phone book has no records.");
}

void tst_PhoneBookWindow::deleteMovesOn() {
    QFETCH(int, records);
    QFETCH(int, position);
    QFETCH(QString, status);
    QFETCH(QString, name);
    QFETCH(QString, message);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts().mid(0, records));
    frmPhoneBook &book = *session.book;
    for (int i = 1; i < position; ++i)
        press(book.cmdNext);
    const QString deleted = text(book, nameBox);
    if (!message.isEmpty())
        world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdDelete); // no question first
    QCOMPARE(lastMessages(world, 1).join(""), message);
    QCOMPARE(world.rowCount(), records - 1);
    QVERIFY(!world.column("NAME").contains(deleted));
    if (!status.isEmpty()) {
        QCOMPARE(::status(book), status);
        QCOMPARE(text(book, nameBox), name);
    }
}

void tst_PhoneBookWindow::missingDatabaseTellsOnceAndLeavesNoFile() {
    PhoneBookWorld world(globalProvider());
    QString expected = "The phone book database " + world.database() + " was not found.";
    if (world.provider() == PhoneBookProvider::PostgreSQL) {
        SaveSetting("ORVANEL", "PhoneBook", "Connection",
                    sharedPostgresServer().connectionString("nosuchbook"));
        expected = "The phone book server on this computer refused the connection: database "
                   "\"nosuchbook\" does not exist.";
    }
    auto main = startProgram();
    world.platform.answerMessage(MsgBoxResult::Ok);
    frmPhoneBook *book = openPhoneBook(*main);
    QVERIFY(book);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, expected);
    QCOMPARE(world.platform.messages[0].title, QString("ORVANEL"));
    QCOMPARE(world.platform.messages[0].buttons(), MsgBoxStyle::OkOnly);
    QVERIFY(!QFile::exists(world.database()));
    QCOMPARE(status(*book), QString());
    QVERIFY(!locked(*book));
    // Each record command tells its own failure.
    for (QPushButton *command :
         {book->cmdFirst, book->cmdNext, book->cmdRefresh, book->cmdDelete}) {
        world.platform.answerMessage(MsgBoxResult::Ok);
        press(command);
        QCOMPARE(lastMessages(world, 1).join(""),
                 QString("The phone book is not open: it could not be loaded when this window "
                         "opened."));
    }
    // Edit needs no records; the Update after it fails and Cancel goes back.
    press(book->cmdEdit);
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book->cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 6);
    press(book->cmdCancel);
    QVERIFY(book->cmdClose->isVisible());
    QCOMPARE(world.platform.messages.size(), 6);
    press(book->cmdClose);
    QTest::qWait(0);
    QCOMPARE(windowCount(*main), 0);
    QVERIFY(!QFile::exists(world.database()));
}

// A record changed or deleted since this window read it, by a second window or by
// another program, is neither updated nor deleted here: the user is told, the stored
// record stays as the other change left it, and this window keeps its own change until
// Cancel; Refresh then shows what is stored.
void tst_PhoneBookWindow::changesMadeElsewhereAreRefused_data() {
    QTest::addColumn<QString>("elsewhere"); // "window update", "window delete", or SQL
    QTest::addColumn<bool>("deleting");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // the first record's CITY afterwards
    QTest::newRow("window updated, update") << "window update" << false << changed << "York";
    QTest::newRow("window deleted, update") << "window delete" << false << changed << "<gone>";
    QTest::newRow("window updated, delete") << "window update" << true << notDeleted << "York";
    QTest::newRow("program updated, update")
        << "UPDATE PHONEBOOK SET CITY = 'York' WHERE [SERIAL NUMBER] = 2" << false << changed
        << "York";
    QTest::newRow("program deleted, update")
        << "DELETE FROM PHONEBOOK WHERE [SERIAL NUMBER] = 2" << false << changed << "<gone>";
    QTest::newRow("program changed another column, delete")
        << "UPDATE PHONEBOOK SET PHONE = NULL WHERE [SERIAL NUMBER] = 2" << true << notDeleted
        << "Leeds";
}

void tst_PhoneBookWindow::changesMadeElsewhereAreRefused() {
    QFETCH(QString, elsewhere);
    QFETCH(bool, deleting);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    if (!deleting) {
        press(book.cmdEdit);
        typeInto(book, cityBox, "Hull");
    }
    if (elsewhere.startsWith("window")) {
        frmPhoneBook &other = *openPhoneBook(*session.main);
        if (elsewhere == "window delete") {
            press(other.cmdDelete);
        } else {
            press(other.cmdEdit);
            typeInto(other, cityBox, "York");
            press(other.cmdUpdate);
        }
    } else {
        QCOMPARE(world.execute(elsewhere), QString());
    }
    QCOMPARE(world.platform.messages.size(), 0);
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(deleting ? book.cmdDelete : book.cmdUpdate);
    QCOMPARE(lastMessages(world, 1), QStringList{message});
    const bool gone = world.column("SERIAL NUMBER").first() != "2";
    QCOMPARE(gone ? QString("<gone>") : world.column("CITY").first(), stored);
    if (deleting) {
        // What another window or program wrote shows only after Refresh.
        QCOMPARE(status(book), QString("Record: 1"));
        QCOMPARE(text(book, cityBox), QString("Leeds"));
    } else {
        QCOMPARE(text(book, cityBox), QString("Hull"));
        QCOMPARE(status(book), QString("Edit record"));
        press(book.cmdCancel);
    }
    press(book.cmdRefresh);
    QCOMPARE(text(book, cityBox), gone ? QString("Leeds") : stored);
    // Read again, the record takes this window's change.
    press(book.cmdEdit);
    typeInto(book, cityBox, "Hull");
    press(book.cmdUpdate);
    QCOMPARE(world.column("CITY").first(), QString("Hull"));
    QCOMPARE(world.platform.messages.size(), 1);
}

void tst_PhoneBookWindow::fileChangedUnderTheWindow_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message"); // FILE stands for the file, FOLDER for its folder
    QTest::newRow("replaced by another file")
        << "replaced"
        << "The phone book file FILE was replaced by another file while this window was open: "
           "nothing was changed. Refresh reads the new file.";
    QTest::newRow("removed") << "removed"
                             << "The phone book file FILE was removed or moved while this window "
                                "was open: nothing was changed.";
    QTest::newRow("a folder that cannot be written")
        << "folder"
        << "The phone book FILE cannot be changed: its folder FOLDER cannot be written, and the "
           "database keeps its journal there while it writes.";
    QTest::newRow("a view for the table")
        << "view"
        << "The phone book in FILE cannot be changed: its PHONEBOOK is a view, not a table, and "
           "only a table can be written.";
}

// What became of the file under an open window is told as it is, and Refresh reads what
// the name stands for now.
void tst_PhoneBookWindow::fileChangedUnderTheWindow() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    if (globalProvider() != PhoneBookProvider::SQLite)
        QSKIP("a file's own troubles");
    PhoneBookWorld world(globalProvider());
    const QString file = world.database();
    message.replace("FILE", file).replace("FOLDER", world.programFolder());
    world.makeBook(fiveContacts());
    if (change == "view")
        QCOMPARE(world.execute("ALTER TABLE PHONEBOOK RENAME TO CONTACTS; CREATE VIEW PHONEBOOK "
                               "AS SELECT * FROM CONTACTS"),
                 QString());
    auto main = startProgram();
    frmPhoneBook &book = *openPhoneBook(*main);
    if (change == "replaced") {
        QVERIFY(QFile::rename(file, file + ".old"));
        QVERIFY(QFile::copy(file + ".old", file));
        QCOMPARE(world.execute("UPDATE PHONEBOOK SET NAME = 'In the new file' WHERE "
                               "[SERIAL NUMBER] = 2"),
                 QString());
    } else if (change == "removed") {
        QVERIFY(QFile::remove(file));
    } else if (change == "folder") {
        QVERIFY(QFile::setPermissions(world.programFolder(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther));
    }
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdEdit);
    typeInto(book, cityBox, "Wakefield");
    {
        FilePermissionsApply asAnyUser;
        press(book.cmdUpdate);
    }
    QCOMPARE(lastMessages(world, 1), QStringList{message});
    QCOMPARE(text(book, cityBox), QString("Wakefield"));
    QCOMPARE(status(book), QString("Edit record"));
    press(book.cmdCancel);
    if (change == "replaced") {
        press(book.cmdRefresh);
        QCOMPARE(world.platform.messages.size(), 1);
        QCOMPARE(text(book, nameBox), QString("In the new file"));
        press(book.cmdEdit);
        typeInto(book, cityBox, "Wakefield");
        press(book.cmdUpdate);
        QCOMPARE(world.platform.messages.size(), 1);
        QCOMPARE(world.column("CITY").first(), QString("Wakefield"));
    } else if (change == "removed") {
        world.platform.answerMessage(MsgBoxResult::Ok);
        press(book.cmdRefresh);
        QCOMPARE(lastMessages(world, 1), QStringList{message});
    }
    QFile::setPermissions(world.programFolder(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_PhoneBookWindow::databaseLockedByAnotherProgram() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    // Another program holds a write transaction open: the sqlite3 program on the file,
    // a client that locks the table on the server.
    QProcess other;
    if (world.provider() == PhoneBookProvider::SQLite) {
        other.start("sqlite3", {world.database()});
        QVERIFY(other.waitForStarted());
        other.write("BEGIN IMMEDIATE;\nUPDATE PHONEBOOK SET NAME = 'Held' WHERE [SERIAL NUMBER] = "
                    "30;\nSELECT 'holding';\n");
        QVERIFY(other.waitForReadyRead());
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("holding"));
    } else {
        for (const char *sql : {"BEGIN", "LOCK TABLE PHONEBOOK IN EXCLUSIVE MODE",
                                "UPDATE PHONEBOOK SET NAME = 'Held' WHERE [SERIAL NUMBER] = 30"})
            QCOMPARE(world.execute(sql), QString());
    }

    press(book.cmdEdit);
    typeInto(book, nameBox, "Anna Bergström");
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdUpdate);
    QCOMPARE(lastMessages(world, 1),
             QStringList{"The phone book is in use by another program. Try again in a moment."});
    QCOMPARE(text(book, nameBox), QString("Anna Bergström"));
    QCOMPARE(status(book), QString("Edit record"));

    if (world.provider() == PhoneBookProvider::SQLite) {
        other.write("COMMIT;\n.quit\n");
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished());
    } else {
        QCOMPARE(world.execute("COMMIT"), QString());
    }
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.column("NAME").first(), QString("Anna Bergström"));
    QCOMPARE(world.column("NAME").last(), QString("Held"));
}

void tst_PhoneBookWindow::closingAsksAboutAnUnsavedRecord_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("adding");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("windowStays");
    QTest::addColumn<QString>("stored"); // the record's NAME in the file afterwards
    QTest::newRow("close box, edit, Yes")
        << "close box" << false << MsgBoxResult::Yes << false << "Changed Name";
    QTest::newRow("close box, edit, No")
        << "close box" << false << MsgBoxResult::No << false << "Anna Berg";
    QTest::newRow("close box, edit, Cancel")
        << "close box" << false << MsgBoxResult::Cancel << true << "Anna Berg";
    QTest::newRow("close box, add, Yes")
        << "close box" << true << MsgBoxResult::Yes << false << "Changed Name";
    QTest::newRow("close box, add, Yes refused")
        << "close box" << true << MsgBoxResult::Yes << true << "<refused>";
    QTest::newRow("main window, add, No")
        << "main window" << true << MsgBoxResult::No << false << "<none>";
    QTest::newRow("main window, edit, Cancel")
        << "main window" << false << MsgBoxResult::Cancel << true << "Anna Berg";
    QTest::newRow("File > Exit, edit, Cancel")
        << "exit" << false << MsgBoxResult::Cancel << true << "Anna Berg";
    QTest::newRow("File > Exit, edit, Yes")
        << "exit" << false << MsgBoxResult::Yes << false << "Changed Name";
    QTest::newRow("Ctrl+F4, edit, Yes")
        << "Ctrl+F4" << false << MsgBoxResult::Yes << false << "Changed Name";
}

void tst_PhoneBookWindow::closingAsksAboutAnUnsavedRecord() {
    QFETCH(QString, how);
    QFETCH(bool, adding);
    QFETCH(int, answer);
    QFETCH(bool, windowStays);
    QFETCH(QString, stored);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(adding ? book.cmdAdd : book.cmdEdit);
    typeInto(book, nameBox, "Changed Name");
    if (adding)
        typeInto(book, serialBox, stored == "<refused>" ? "7" : "1");
    world.platform.answerMessage(answer);
    if (stored == "<refused>")
        world.platform.answerMessage(MsgBoxResult::Ok);
    if (how == "close box") {
        session.main->mdiArea()->currentSubWindow()->close();
    } else if (how == "Ctrl+F4") {
        QTest::keyClick(box(book, nameBox), Qt::Key_F4, Qt::ControlModifier);
    } else if (how == "exit") {
        session.main->findChild<QAction *>("mnuFileExit")->trigger();
        QCOMPARE(world.platform.programEnded, !windowStays);
        if (!windowStays) {
            QCOMPARE(world.column("NAME").first(), stored);
            return;
        }
    } else {
        session.main->setAttribute(Qt::WA_DeleteOnClose, false);
        session.main->close();
        QCOMPARE(session.main->isVisible(), windowStays);
    }
    QTest::qWait(0);
    const auto &question = world.platform.messages.value(0);
    QCOMPARE(question.text, QString("This record has changes that are not saved. Save them now?"));
    QCOMPARE(question.buttons(), MsgBoxStyle::YesNoCancel);
    QCOMPARE(windowCount(*session.main), windowStays ? 1 : 0);
    const QStringList names = world.column("NAME");
    if (stored == "<none>" || stored == "<refused>") {
        QCOMPARE(names.size(), 5);
        QVERIFY(!names.contains("Changed Name"));
    } else {
        QCOMPARE(names.first(), stored);
    }
    if (stored == "<refused>")
        QCOMPARE(world.platform.messages.size(), 2);
    // An untouched record in edit mode closes without a question.
    if (windowStays) {
        press(book.cmdCancel);
        const qsizetype shown = world.platform.messages.size();
        book.cmdClose->click();
        QTest::qWait(0);
        QCOMPARE(windowCount(*session.main), 0);
        QCOMPARE(world.platform.messages.size(), shown);
    }
}

void tst_PhoneBookWindow::addressTakesTwoHundredCharacters() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdEdit);
    typeInto(book, addressBox, QString(190, 'a'));
    QTest::keyClicks(box(book, addressBox), QString(20, 'b'));
    QCOMPARE(text(book, addressBox), QString(190, 'a') + QString(10, 'b'));
    // Pasted text is cut at the limit too.
    QTest::keyClick(box(book, addressBox), Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->setText(QString(300, 'c'));
    QTest::keyClick(box(book, addressBox), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text(book, addressBox), QString(200, 'c'));
    press(book.cmdUpdate);
    QCOMPARE(world.column("ADDRESS").first(), QString(200, 'c'));
}

// A value of megabytes another program wrote is shown as its beginning with a note, and
// the contact cannot be changed from the window, which would write the cut text back.
void tst_PhoneBookWindow::valueTooLongIsShownCutAndKept() {
    PhoneBookWorld world(globalProvider());
    const QString address = QString("Long Road ").repeated(1024 * 1024);
    QList<PhoneBookWorld::Row> rows = fiveContacts();
    rows[1].insert("ADDRESS", address); // Anna Berg, the first shown
    Session session(world, rows);
    frmPhoneBook &book = *session.book;
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
    const QString shown = text(book, addressBox);
    QVERIFY(shown.size() < 20000);
    const QString note =
        "[Too long to show: this value is 10.0 MiB, and only its beginning follows] ";
    QVERIFY2(shown.startsWith(note), qPrintable(shown.left(100)));
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QVERIFY(address.startsWith(shown.mid(note.size()).chopped(1)));
    const QString refused = "This contact holds a value too long to show whole, so it cannot be "
                            "changed or deleted in this window. Change it with another program.";
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdEdit);
    QCOMPARE(lastMessages(world, 1), QStringList{refused});
    QVERIFY(locked(book));
    QCOMPARE(status(book), QString("Record: 1"));
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdDelete);
    QCOMPARE(lastMessages(world, 1), QStringList{refused});
    QCOMPARE(world.rowCount(), 5);
    QCOMPARE(world.column("ADDRESS").first(), address);
    // The others change as ever.
    press(book.cmdNext);
    press(book.cmdEdit);
    typeInto(book, cityBox, "York");
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.column("CITY")[1], QString("York"));
}

void tst_PhoneBookWindow::screenReaderHearsAndUsesTheControls() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    auto spoken = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    const std::pair<QWidget *, const char *> names[] = {
        {box(book, nameBox), "NAME:"},
        {box(book, addressBox), "ADDRESS:"},
        {box(book, serialBox), "SERIAL NUMBER:"},
        {book.cmdFirst, "First"},
        {book.cmdPrevious, "Previous"},
        {book.cmdNext, "Next"},
        {book.cmdLast, "Last"},
        {book.List1, "Search On"},
        {book.Text1, "Enter the item to be searched for :"}};
    for (const auto &[control, name] : names)
        QCOMPARE(spoken(control), QString(name));
    QVERIFY(book.cmdNext->text().isEmpty() && book.cmdNext->toolTip().isEmpty());
    // The reader's Press moves as a click does, once the button has shown itself pressed.
    QAccessibleInterface *next = QAccessible::queryAccessibleInterface(book.cmdNext);
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(status(book), QString("Record: 2"));
    // Tab goes down the boxes in the order they stand.
    box(book, serialBox)->setFocus();
    for (int following : {nameBox, addressBox, cityBox}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), box(book, following));
    }
    // The search frame opens with the keyboard in it: the list, then the text, then its
    // search button; Down in the list picks a category and moves no record.
    book.Command1->setFocus();
    QTest::keyClick(book.Command1, Qt::Key_Space);
    QVERIFY(book.Frame1->isVisible());
    QCOMPARE(QApplication::focusWidget(), book.List1);
    QTest::keyClick(book.List1, Qt::Key_Down);
    QTest::keyClick(book.List1, Qt::Key_Down);
    QTest::keyClick(book.List1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), book.Text1);
    QTest::keyClicks(book.Text1, "Osaka");
    QTest::keyClick(book.Text1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), book.cmdFrmSearch);
    QTest::keyClick(book.cmdFrmSearch, Qt::Key_Space);
    QCOMPARE(text(book, nameBox), QString("Chen Wei"));
}

void tst_PhoneBookWindow::search_data() {
    QTest::addColumn<QString>("category"); // "" leaves the list untouched
    QTest::addColumn<QString>("searched");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("found"); // the name after each press
    QTest::addColumn<QString>("caption");   // of the search button at the end
    QTest::addColumn<bool>("ranOut");       // the last press reached the end of the records
    QTest::newRow("serial number 007 finds 7")
        << ""
        << "007" << 1 << QStringList{"Chen Wei"} << "Continue Search" << false;
    QTest::newRow("serial number 7.0 finds 7")
        << "Serial Number"
        << "7.0" << 1 << QStringList{"Chen Wei"} << "Continue Search" << false;
    QTest::newRow("phone typed in groups")
        << "Phone"
        << "0113 4960 000" << 2 << QStringList{"Anna Berg", "anna berg"} << "Continue Search"
        << false;
    QTest::newRow("name is exact")
        << "Name"
        << "anna berg" << 1 << QStringList{"anna berg"} << "Continue Search" << false;
    QTest::newRow("continue visits every match, then the end")
        << "City"
        << "Leeds" << 4 << QStringList{"Anna Berg", "Bea Ode", "anna berg", "anna berg"}
        << "Continue Search" << true;
    QTest::newRow("trailing blank does not match")
        << "City"
        << "Leeds " << 1 << QStringList{"Bea Ode"} << "Search" << true;
    QTest::newRow("no match goes back to where it started")
        << "Name"
        << "Nobody" << 1 << QStringList{"Bea Ode"} << "Search" << true;
    QTest::newRow("E-Mail searches the e-mail")
        << "E-Mail"
        << "chen@example.org" << 1 << QStringList{"Chen Wei"} << "Continue Search" << false;
    QTest::newRow("pin code without a number matches an empty box")
        << "PinCode"
        << "none" << 1 << QStringList{"Anna Berg"} << "Continue Search" << false;
}

void tst_PhoneBookWindow::search() {
    QFETCH(QString, category);
    QFETCH(QString, searched);
    QFETCH(int, presses);
    QFETCH(QStringList, found);
    QFETCH(QString, caption);
    QFETCH(bool, ranOut);
    PhoneBookWorld world(globalProvider());
    QList<PhoneBookWorld::Row> rows = fiveContacts();
    rows[3].insert("EMAIL", "chen@example.org");
    Session session(world, rows);
    frmPhoneBook &book = *session.book;
    press(book.cmdNext); // a new search starts at the first record whatever is current
    press(book.Command1);
    if (!category.isEmpty()) {
        const auto items = book.List1->findItems(category, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        book.List1->setCurrentItem(items.first());
    }
    QTest::keyClicks(book.Text1, searched);
    int noMatch = 0;
    world.platform.answerMessageWith([&](const auto &message) {
        noMatch += message.text == "No matching record was found." ? 1 : 0;
        return MsgBoxResult::Ok;
    });
    for (int i = 0; i < presses; ++i) {
        press(book.cmdFrmSearch);
        QCOMPARE(text(book, nameBox), found[i]);
        QVERIFY(box(book, nameBox)->isVisible());
    }
    world.platform.answerMessage(MsgBoxResult::Ok); // keeps the queue from running dry
    QCOMPARE(book.cmdFrmSearch->text(), caption);
    QCOMPARE(book.cmdFrmCancel->text(), QString("End Search"));
    // Only a search that ran out of records says so.
    QCOMPARE(noMatch, ranOut ? 1 : 0);
}

void tst_PhoneBookWindow::searchFrameStates() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.Command1);
    QVERIFY(book.Frame1->isVisible() && book.Frame1->isEnabled());
    QCOMPARE(book.cmdFrmSearch->text(), QString("Search"));
    QCOMPARE(book.cmdFrmCancel->text(), QString("Cancel"));
    // An empty search text is asked for, and nothing moves.
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdFrmSearch);
    QCOMPARE(lastMessages(world, 1), QStringList{"Please enter the item to be searched"});
    QCOMPARE(QApplication::focusWidget(), book.Text1);
    QCOMPARE(book.cmdFrmCancel->text(), QString("End Search"));
    QCOMPARE(status(book), QString("Record: 1"));
    press(book.cmdFrmCancel);
    QCOMPARE(book.cmdFrmCancel->text(), QString("Cancel"));
    QVERIFY(book.Frame1->isVisible());
    // Moving between presses: the next continued search starts after the record moved to.
    QTest::keyClicks(book.Text1, "Leeds");
    book.List1->setCurrentRow(2); // City
    press(book.cmdFrmSearch);
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
    press(book.cmdLast);
    press(book.cmdPrevious); // Dev Patel, record 4
    press(book.cmdFrmSearch);
    QCOMPARE(text(book, nameBox), QString("anna berg"));
    // The search button of the bar starts over.
    press(book.Command1);
    QCOMPARE(book.cmdFrmSearch->text(), QString("Search"));
    press(book.cmdFrmSearch);
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
    // End Search keeps the frame and the record; Cancel closes the frame.
    press(book.cmdFrmCancel);
    QCOMPARE(book.cmdFrmSearch->text(), QString("Search"));
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
    press(book.cmdFrmCancel);
    QVERIFY(!book.Frame1->isVisible() && !book.Frame1->isEnabled());
    press(book.Command1);
    QCOMPARE(book.Text1->text(), QString("Leeds"));
    QCOMPARE(world.platform.messages.size(), 1);
}

void tst_PhoneBookWindow::searchOnAnEmptyBook() {
    PhoneBookWorld world(globalProvider());
    Session session(world, {});
    frmPhoneBook &book = *session.book;
    press(book.Command1);
    QTest::keyClicks(book.Text1, "1");
    world.platform.answerMessage(MsgBoxResult::Ok);
    press(book.cmdFrmSearch);
    QCOMPARE(lastMessages(world, 1),
             QStringList{"There is no current record: the phone book has no records."});
    QCOMPARE(book.cmdFrmSearch->text(), QString("Search"));
    QCOMPARE(book.cmdFrmCancel->text(), QString("Cancel"));
    QVERIFY(box(book, nameBox)->isVisible());
}

// In the search frame the keys belong to its list, box and buttons: the record stays
// where it is, and Esc is the frame's Cancel.
void tst_PhoneBookWindow::searchFrameKeepsItsKeys() {
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdNext);
    press(book.Command1);
    for (QWidget *control : {static_cast<QWidget *>(book.Text1), static_cast<QWidget *>(book.List1),
                             static_cast<QWidget *>(book.cmdFrmSearch)}) {
        control->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp,
                            Qt::Key_Home, Qt::Key_End})
            QTest::keyClick(control, key);
        QCOMPARE(status(book), QString("Record: 2"));
    }
    QTest::keyClick(book.Text1, Qt::Key_Escape);
    QVERIFY(!book.Frame1->isVisible());
    QCOMPARE(windowCount(*session.main), 1);
    QCOMPARE(world.platform.messages.size(), 0);
}

// The main window's menus Edit and Run share their letters with Edit and Refresh: while
// the keyboard is in a phone book window, its own buttons win.
void tst_PhoneBookWindow::altAndAButtonLetterPressIt_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("name"); // in the name box afterwards: no letter typed into it
    QTest::addColumn<QString>("last"); // the last record's name afterwards
    QTest::newRow("Alt+E edits") << int(Qt::Key_E) << "Edit record"
                                 << "anna berg"
                                 << "";
    QTest::newRow("Alt+A adds") << int(Qt::Key_A) << "Add record"
                                << ""
                                << "";
    QTest::newRow("Alt+R refreshes") << int(Qt::Key_R) << "Record: 1"
                                     << "Anna Berg"
                                     << "Eve Added";
}
void tst_PhoneBookWindow::altAndAButtonLetterPressIt() {
    QFETCH(int, key);
    QFETCH(QString, status);
    QFETCH(QString, name);
    QFETCH(QString, last);
    PhoneBookWorld world(globalProvider());
    Session session(world, fiveContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdLast);
    world.addRow(contactRow("40", "Eve Added"));
    box(book, nameBox)->setFocus();
    QTest::keyClick(box(book, nameBox), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(::status(book), status);
    QCOMPARE(text(book, nameBox), name);
    if (!last.isEmpty()) {
        press(book.cmdLast);
        QCOMPARE(text(book, nameBox), last);
    }
    QCOMPARE(world.platform.messages.size(), 0);
}

// A phone book whose query fails once the connection is open leaves the window with a
// closed record set: every record command says so.
void tst_PhoneBookWindow::closedRecordSetIsToldByEveryCommand() {
    PhoneBookWorld world(globalProvider());
    world.makeBook({});
    // A view with every column whose one row the engine cannot compute.
    const QString failing =
        globalProvider() == PhoneBookProvider::SQLite ? "abs(-9223372036854775807 - 1)" : "1 / 0";
    QCOMPARE(world.execute("DROP TABLE PHONEBOOK"), QString());
    QCOMPARE(world.execute("CREATE VIEW PHONEBOOK AS SELECT " + failing +
                           " AS [SERIAL NUMBER], 'n' AS NAME, 'a' AS ADDRESS, 'c' AS CITY, "
                           "'s' AS STATE, 'k' AS COUNTRY, 'p' AS PINCODE, 't' AS PHONE, "
                           "'e' AS EMAIL, 'd' AS DATEOFBIRTH, 'o' AS OPTIONALPHONE"),
             QString());
    world.platform.answerMessage(MsgBoxResult::Ok); // the failed query, as the window opens
    auto main = startProgram();
    frmPhoneBook *book = openPhoneBook(*main);
    QVERIFY(book);
    QCOMPARE(world.platform.messages.size(), 1);
    for (const char *button : {"First", "Previous", "Next", "Last", "Delete", "Add"}) {
        world.platform.answerMessage(MsgBoxResult::Ok);
        press(book->findChild<QPushButton *>(QString("cmd") + button));
        QCOMPARE(lastMessages(world, 1),
                 QStringList{"The phone book is not open: it could not be loaded when this "
                             "window opened."});
        if (book->cmdCancel->isVisible())
            press(book->cmdCancel);
    }
    QCOMPARE(world.platform.messages.size(), 7);
}

// A row another program wrote in another encoding (Latin-1 bytes in a text column) is
// shown as well as it can be read, and can be changed and deleted: the window finds it
// by the bytes it holds, and the bytes it did not change stay as they were.
void tst_PhoneBookWindow::rowOfAnotherEncodingChangesAndGoes() {
    if (globalProvider() != PhoneBookProvider::SQLite)
        QSKIP("a server hands every value over in its own encoding");
    PhoneBookWorld world(globalProvider());
    world.makeBook({contactRow("1", "Anna Berg")});
    QCOMPARE(world.execute("INSERT INTO PHONEBOOK ([SERIAL NUMBER], NAME, CITY) "
                           "VALUES (2, CAST(X'4DFC6C6C6572' AS TEXT), CAST(X'4BF66C6E' AS TEXT))"),
             QString());
    auto main = startProgram();
    frmPhoneBook &book = *openPhoneBook(*main);
    press(book.cmdLast);
    QCOMPARE(text(book, nameBox), QString::fromUtf8("M\xC3\xBCller"));
    QCOMPARE(text(book, cityBox), QString::fromUtf8("K\xC3\xB6ln"));
    press(book.cmdEdit);
    typeInto(book, phoneBox, "555 0199");
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 0);
    QCOMPARE(world.values("SELECT hex(NAME) || ' ' || PHONE FROM PHONEBOOK WHERE "
                          "[SERIAL NUMBER] = 2"),
             QStringList{"4DFC6C6C6572 555 0199"});
    // Changed once, the row is still found for the next change and for Delete.
    press(book.cmdEdit);
    typeInto(book, phoneBox, "555 0200");
    press(book.cmdUpdate);
    press(book.cmdDelete);
    QCOMPARE(world.platform.messages.size(), 0);
    QCOMPARE(world.column("NAME"), QStringList{"Anna Berg"});
}

QTEST_MAIN(tst_PhoneBookWindow)
#include "tst_phonebookwindow.moc"
