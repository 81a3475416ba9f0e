#pragma once

#include <QPlainTextEdit>

// A text box of several lines that takes at most a given number of characters from
// the user, typed or pasted; text the program shows in it is shown whole.
class LimitedTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedTextBox(int maxLength, QWidget *parent = nullptr);

    // Shows a text without it counting as the user's.
    void showText(const QString &text);

signals:
    // The user changed the text.
    void textEdited(const QString &text);

private:
    void onContentsChange(int position, int removed, int added);

    int maxLength_;
    bool showing_ = false;
};
