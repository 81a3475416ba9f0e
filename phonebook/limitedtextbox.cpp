#include "phonebook/limitedtextbox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

LimitedTextBox::LimitedTextBox(int maxLength, QWidget *parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {
    // Tab moves on to the next box, as in every other box of a form.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &LimitedTextBox::onContentsChange);
}

void LimitedTextBox::showText(const QString &text) {
    showing_ = true;
    setPlainText(text);
    showing_ = false;
}

void LimitedTextBox::onContentsChange(int position, int, int added) {
    if (showing_)
        return;
    const int length = document()->characterCount() - 1;
    if (length > maxLength_ && added > 0) {
        // What went over the limit is taken off the end of what just arrived.
        const int end = std::min(position + added, length);
        const int excess = std::min(length - maxLength_, end - position);
        QTextCursor cursor(document());
        cursor.setPosition(end - excess);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        showing_ = true;
        cursor.removeSelectedText();
        showing_ = false;
    }
    emit textEdited(toPlainText());
}
