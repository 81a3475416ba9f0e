#pragma once

#include "diary/filestamp.h"
#include "diary/searchterms.h"

#include <QString>
#include <QWidget>
#include <optional>

class DiaryHost;
class EntryRecovery;
class RtfTextBox;

// A diary window: one entry in a rich-text box that fills the window. It mirrors the
// formatting at the caret on the main window's toolbar, keeps the saved flag, and
// offers to save the entry when it closes with changes of its own.
class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(DiaryHost &host, QWidget *parent = nullptr);

    RtfTextBox *rtfText = nullptr;

    // The file the entry belongs to once it was opened from or saved as a file of its
    // own; empty for an entry kept in the diary folder under its title.
    QString filePath;

    // Whether the entry's text or formatting changed since the window was created,
    // opened or saved.
    bool textChanged() const;
    // The entry was written to a file, or replaced by a file's content: it is unchanged
    // from now on, and the window knows that file in the version given.
    void markInStep(std::optional<FileStamp> file);
    // How many times the entry was written; the closing steps compare it.

    // Whether the file at `path` is the one this window last read or wrote, unchanged
    // on disk since: only such a file is replaced without asking.
    bool knowsFileAsItIs(const QString &path) const;

    // The entry's recovery copy.
    EntryRecovery &recovery() { return *recovery_; }

    // A new window opens at the size it was designed with.
    QSize sizeHint() const override;

    void Form_Load();
    void Form_Resize();
    void rtfText_SelChange();

    // Selects the first place where the search's words stand and scrolls it into view;
    // F3 and Shift+F3 then go to the next and the previous one. False when the entry
    // does not hold them.
    bool showFound(const SearchTerms &terms);
    // Selects the next (or previous) place found, round from the end to the beginning.
    void goToFound(bool forward);

    // Sets the main window's six formatting buttons to the selection's format, as the
    // window becomes the active one.
    void showSelectionFormat();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The closing steps; false calls the closing off.
    bool Form_Unload();

    DiaryHost &host_;
    EntryRecovery *recovery_ = nullptr;
    std::optional<FileStamp> knownFile_;
    SearchTerms found_;
};

// The saved flag shared by all diary windows: "1" saved, "0" not saved.
void writeSavedFlag(bool saved);

// Asks whether to save an entry whose text is not saved and saves it on Yes. Returns
// false when the user cancelled, or said Yes and the entry was not saved.
bool offerToSave(frmDocument &document, DiaryHost &host);
