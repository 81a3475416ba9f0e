#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class FieldBinding;
class QGroupBox;
class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;
class Recordset;

// A phone book window: one record at a time in eleven labelled field boxes, bound to
// the window's own record set, with a bar of record commands, a strip of navigation
// buttons and a status label at the bottom, and a search frame beside the boxes. In
// browse mode the boxes are read-only; Add or Edit start edit mode, which only Update
// and Cancel end.
class frmPhoneBook : public QWidget {
    Q_OBJECT
public:
    explicit frmPhoneBook(QWidget *parent = nullptr);
    ~frmPhoneBook() override;

    // Asks whether to save a record being added or edited with changes typed into it,
    // and saves it on Yes. Returns false when the user cancelled, or a Yes did not save.
    bool offerToSaveRecord();

    // The controls, by their names.
    std::array<QWidget *, 11> txtFields{};
    std::array<QLabel *, 11> lblLabels{};
    QWidget *picButtons = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdRefresh = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *Command1 = nullptr;
    QWidget *picStatBox = nullptr;
    QPushButton *cmdFirst = nullptr;
    QPushButton *cmdPrevious = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdLast = nullptr;
    // The search frame.
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *cmdFrmSearch = nullptr;
    QPushButton *cmdFrmCancel = nullptr;

    // The record set; null until loading created it.
    std::unique_ptr<Recordset> adoPrimaryRS;

    void Form_Resize();
    // Returns whether the key was one of the window's record keys.
    bool Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);

    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdRefresh_Click();
    void cmdClose_Click();

    // The search.
    void Command1_Click();
    void List1_Click();
    void cmdFrmSearch_Click();
    void cmdFrmCancel_Click();

    // Adds the contacts of vCard and CSV files to the phone book, asking first for each,
    // and shows what each import did; then shows the records afresh.
    void importContactFiles(const QStringList &files);

signals:
    // The records were read again from the database: what other windows show of them
    // may follow.
    void Refreshed();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildFieldBoxes();
    void buildCommandBar();
    void buildNavigation();
    void buildSearchFrame();
    void setTabOrder();
    void Form_Load();
    void adoPrimaryRS_MoveComplete();
    void SetRecordButtons(bool browse);
    void lockFieldBoxes(bool locked);
    // The record set; fails when loading made none.
    Recordset &records() const;
    void HideFieldBoxes();
    void ShowFieldBoxes();
    void ScanForMatch();
    // Takes a drag of vCard or CSV files, wherever in the window it is; returns whether
    // the event was one.
    bool contactDragEvent(QEvent *event);
    // Ends adding or editing a record before the records are read again, saving it
    // if the user says so; false when the user cancelled.
    bool leaveEditMode();
    // The visible, enabled button of this window that Alt and the key's letter press.
    QPushButton *buttonForKey(const QKeyEvent &key) const;

    // The button whose Alt key was taken from the main window's menus, pressed when
    // its key press comes.
    QPointer<QPushButton> keyedButton_;
    FieldBinding *binding_ = nullptr;
    long vSavedBookmark = 0;
    bool bEditing = false;
    bool bAdding = false;
    QString sSearchCategory;
    // The record that was current when the search button was pressed, found again when
    // a scan reaches the end without a match; 0 when there was none.
    long searchOrigin_ = 0;
};
