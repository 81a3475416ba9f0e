#pragma once

// What a user does with a phone book window, and what the user sees in it, for the
// phone book's tests.
#include "phonebook/frmphonebook.h"
#include "phonebookworld.h"
#include "shell/frmmain.h"
#include "startprogram.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

inline frmPhoneBook *openPhoneBook(frmMain &main) {
    main.findChild<QAction *>("mnuDataPhoneBook")->trigger();
    return qobject_cast<frmPhoneBook *>(main.activeChild());
}

inline QWidget *box(frmPhoneBook &book, int index) {
    return book.txtFields[size_t(index)];
}
inline QString text(frmPhoneBook &book, int index) {
    if (auto *line = qobject_cast<QLineEdit *>(box(book, index)))
        return line->text();
    return qobject_cast<QPlainTextEdit *>(box(book, index))->toPlainText();
}
constexpr int serialBox = 9;
constexpr int nameBox = 5;
constexpr int cityBox = 1;
constexpr int phoneBox = 7;
constexpr int addressBox = 0;

inline QString status(frmPhoneBook &book) {
    return book.lblStatus->text();
}

// Types into a field box as the user does: click into it, select what is there, type.
inline void typeInto(frmPhoneBook &book, int index, const QString &typed) {
    QWidget *field = box(book, index);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (typed.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    // Letters beyond ASCII arrive as a keyboard layout sends them: as text.
    for (const QChar c : typed) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void press(QPushButton *button) {
    QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

inline bool locked(frmPhoneBook &book) {
    for (QWidget *field : book.txtFields) {
        auto *line = qobject_cast<QLineEdit *>(field);
        const bool readOnly =
            line ? line->isReadOnly() : qobject_cast<QPlainTextEdit *>(field)->isReadOnly();
        if (!readOnly)
            return false;
    }
    return true;
}

inline QStringList lastMessages(PhoneBookWorld &world, int count) {
    QStringList texts;
    for (qsizetype i = std::max<qsizetype>(0, world.platform.messages.size() - count);
         i < world.platform.messages.size(); ++i)
        texts << world.platform.messages[i].text;
    return texts;
}

// A record window on a book; the main window stays with it.
struct Session {
    Session(PhoneBookWorld &world, const QList<PhoneBookWorld::Row> &rows) {
        world.makeBook(rows);
        main = startProgram();
        book = openPhoneBook(*main);
    }
    std::unique_ptr<frmMain> main;
    frmPhoneBook *book = nullptr;
};
