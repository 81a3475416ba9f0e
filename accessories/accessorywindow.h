#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>

class QPushButton;

// A small window of its own beside the main window (tip of the day, options, command-line
// runner, About): one object for the whole run, loaded afresh each time it is shown after
// it was closed, with a fixed frame that has neither a minimise nor a maximise button.
class AccessoryWindow : public QDialog {
    Q_OBJECT
public:
    // Loads the window when it is closed and shows it; brings it forward when it is open.
    // Loading may close it again at once, and then nothing shows.
    void showWindow();

    // Closes the window; its object and what it keeps stay for the next showing.
    void Unload();

protected:
    // The client area is given in twips.
    AccessoryWindow(QWidget *owner, const char *name, const QString &caption, double clientWidth,
                    double clientHeight);

    // Fills the controls as they are when the window is loaded; false unloads it again
    // before it shows.
    virtual bool Form_Load() = 0;
};

// A font by the name the windows were designed with. Where the machine lacks the family,
// Qt's font substitution picks a close free one (installed with the first call).
QFont designedFont(const QString &family, double points, QFont::Weight weight = QFont::Normal);

// One of the pictures of these windows (":/accessories/NAME.xpm"), its background
// transparent.
QPixmap accessoryPicture(const char *name);

// A command button with a picture of ours and a blue caption in Lucida Bright 9.75 pt
// semibold, placed in twips. It presses with Space, and with Enter while it has the focus.
QPushButton *pictureButton(QWidget *parent, const char *name, const QString &caption,
                           const char *picture, const QString &tip, double left, double top,
                           double width, double height);

// Widens and heightens a one-line control placed in twips to show its whole text: the
// faces this machine draws with are wider than those the sizes were made for.
void fitToText(QWidget *control);

// Sets the colour of a control's text.
void setTextColor(QWidget *control, const QColor &color);
