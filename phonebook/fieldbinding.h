#pragma once

#include "phonebook/store/phonebookcolumns.h"

#include <QObject>
#include <array>

class QWidget;
class Recordset;

// The field boxes of a phone book window, bound to its record set: each box shows its
// column of the current record whenever that changes, and what the user types into an
// unlocked box becomes the record's pending change.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    using Boxes = std::array<QWidget *, fieldCount>;
    FieldBinding(Recordset &records, const Boxes &boxes, QObject *parent = nullptr);

    // Shows the current record's values (empty boxes when there is none).
    void show();

private:
    Recordset &records_;
    Boxes boxes_;
};

// Shows a text in a field box, whichever kind of box it is.
void showBoxText(QWidget *box, const QString &text);
// Locks a box against typing, or unlocks it.
void lockBox(QWidget *box, bool locked);
