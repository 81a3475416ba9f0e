#include "phonebook/fieldbinding.h"

#include "phonebook/limitedtextbox.h"
#include "phonebook/store/recordset.h"
#include "platform/errorhandling.h"

#include <QLineEdit>

void showBoxText(QWidget *box, const QString &text) {
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else {
        static_cast<LimitedTextBox *>(box)->showText(text);
    }
}

void lockBox(QWidget *box, bool locked) {
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setReadOnly(locked);
    else
        static_cast<LimitedTextBox *>(box)->setReadOnly(locked);
}

FieldBinding::FieldBinding(Recordset &records, const Boxes &boxes, QObject *parent)
    : QObject(parent), records_(records), boxes_(boxes) {
    connect(&records, &Recordset::MoveComplete, this, &FieldBinding::show);
    connect(&records, &Recordset::FieldsChanged, this, &FieldBinding::show);
    for (int field = 0; field < fieldCount; ++field) {
        QWidget *box = boxes[static_cast<size_t>(field)];
        // Typing where there is no current record goes nowhere.
        auto typed = [this, field](const QString &text) {
            runIgnoringErrors({[&] { records_.setFieldText(field, text); }});
        };
        if (auto *line = qobject_cast<QLineEdit *>(box))
            connect(line, &QLineEdit::textEdited, this, typed);
        else
            connect(static_cast<LimitedTextBox *>(box), &LimitedTextBox::textEdited, this, typed);
    }
}

void FieldBinding::show() {
    for (int field = 0; field < fieldCount; ++field) {
        QString text;
        runIgnoringErrors({[&] { text = records_.fieldText(field); }});
        showBoxText(boxes_[static_cast<size_t>(field)], text);
    }
}
