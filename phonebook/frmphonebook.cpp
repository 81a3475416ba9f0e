#include "phonebook/frmphonebook.h"

#include "phonebook/chosenconnection.h"
#include "phonebook/fieldbinding.h"
#include "phonebook/limitedtextbox.h"
#include "phonebook/phonebooktexts.h"
#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/recordset.h"
#include "phonebook/store/storetexts.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"
#include "platform/units.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <limits>
#include <utility>

namespace {
// The field boxes from top to bottom, by index, and where each one's top lies.
struct FieldPlace {
    Field field;
    double top;
    double height;
};
constexpr std::array<FieldPlace, fieldCount> fieldPlaces{{
    {Field::SerialNumber, 1200, 285},
    {Field::Name, 1605, 285},
    {Field::Address, 2040, 1005},
    {Field::City, 3195, 285},
    {Field::State, 3555, 285},
    {Field::Country, 3885, 285},
    {Field::PinCode, 4245, 285},
    {Field::Phone, 4635, 285},
    {Field::Email, 4995, 285},
    {Field::DateOfBirth, 5400, 285},
    {Field::OptionalPhone, 5760, 285},
}};
constexpr double boxLeft = 2520;
constexpr double boxWidth = 3375;
constexpr double labelLeft = 600;
constexpr double labelWidth = 1815;
constexpr double labelHeight = 255;
constexpr int addressMaxLength = 200;
constexpr double buttonBarHeight = 495;
constexpr double navigationHeight = 540;

// The pictures of the navigation buttons: a triangle pointing left or right, with a bar
// at the end it points to for First and Last.
QIcon navigationPicture(bool left, bool bar) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int tip = left ? 4 : 11;
    const int base = left ? 10 : 5;
    painter.drawPolygon(QPolygon({QPoint(tip, 8), QPoint(base, 2), QPoint(base, 14)}));
    if (bar)
        painter.drawRect(left ? 2 : 12, 3, 2, 10);
    return QIcon(picture);
}

QPushButton *commandButton(QWidget *parent, const char *name, const QString &caption,
                           const QString &tip) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    return button;
}

// A picture button without caption or tip; a screen reader still hears its name.
QPushButton *navigationButton(QWidget *parent, const char *name, const QString &spoken,
                              const QIcon &picture) {
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(picture);
    button->setAccessibleName(spoken);
    return button;
}
} // namespace

frmPhoneBook::frmPhoneBook(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmPhoneBook"));
    setWindowTitle(PhoneBookText::windowCaption());
    setAccessibleName(PhoneBookText::windowCaption());
    buildFieldBoxes();
    buildCommandBar();
    buildNavigation();
    buildSearchFrame();
    setTabOrder();
    SetRecordButtons(true);
    setAcceptDrops(true);
    Form_Load();
}

frmPhoneBook::~frmPhoneBook() = default;

void frmPhoneBook::buildFieldBoxes() {
    for (const FieldPlace &at : fieldPlaces) {
        const int index = indexOf(at.field);
        QWidget *box = nullptr;
        if (at.field == Field::Address) {
            box = new LimitedTextBox(addressMaxLength, this);
        } else {
            auto *line = new QLineEdit(this);
            line->setMaxLength(std::numeric_limits<int>::max());
            box = line;
        }
        box->setObjectName(QStringLiteral("txtFields(%1)").arg(index));
        placeInTwips(box, boxLeft, at.top, boxWidth, at.height);
        auto *label =
            new QLabel(QString::fromLatin1(columns[static_cast<size_t>(index)].caption), this);
        label->setObjectName(QStringLiteral("lblLabels(%1)").arg(index));
        // The label names its box for a screen reader.
        label->setBuddy(box);
        placeInTwips(label, labelLeft, at.top, labelWidth, labelHeight);
        txtFields[static_cast<size_t>(index)] = box;
        lblLabels[static_cast<size_t>(index)] = label;
        box->installEventFilter(this);
        // A file of contacts dropped on a box is the window's, not text for the box.
        if (auto *text = qobject_cast<QAbstractScrollArea *>(box))
            text->viewport()->installEventFilter(this);
    }
}

void frmPhoneBook::buildCommandBar() {
    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    struct Command {
        QPushButton *frmPhoneBook::*member;
        const char *name;
        const char *caption;
        const char *tip;
        double left, width, height;
        void (frmPhoneBook::*handler)();
    };
    const Command commands[] = {
        {&frmPhoneBook::cmdAdd, "cmdAdd", "&Add", "ADD A NEW RECORD", 0, 1575, 375,
         &frmPhoneBook::cmdAdd_Click},
        {&frmPhoneBook::cmdUpdate, "cmdUpdate", "&Update", "", 0, 1455, 345,
         &frmPhoneBook::cmdUpdate_Click},
        {&frmPhoneBook::cmdCancel, "cmdCancel", "&Cancel", "CANCEL THE CHANGES", 1680, 1575, 375,
         &frmPhoneBook::cmdCancel_Click},
        {&frmPhoneBook::cmdEdit, "cmdEdit", "&Edit", "EDIT THE CURRENT RECORD", 3360, 1695, 375,
         &frmPhoneBook::cmdEdit_Click},
        {&frmPhoneBook::cmdDelete, "cmdDelete", "&Delete", "DELETE THE CURRENT RECORD", 5160, 1695,
         375, &frmPhoneBook::cmdDelete_Click},
        {&frmPhoneBook::cmdRefresh, "cmdRefresh", "&Refresh", "REFRESH", 6960, 1695, 375,
         &frmPhoneBook::cmdRefresh_Click},
        {&frmPhoneBook::cmdClose, "cmdClose", "&Close", "CLOSE ORVANELPHONE BOOK", 8760, 1455, 375,
         &frmPhoneBook::cmdClose_Click},
        {&frmPhoneBook::Command1, "Command1", "&Search", "SEARCH FOR RECORDS", 10440, 1335, 375,
         &frmPhoneBook::Command1_Click},
    };
    for (const Command &command : commands) {
        QPushButton *button =
            commandButton(picButtons, command.name, QString::fromLatin1(command.caption),
                          QString::fromLatin1(command.tip));
        placeInTwips(button, command.left, 0, command.width, command.height);
        connect(button, &QPushButton::clicked, this, command.handler);
        button->installEventFilter(this);
        this->*command.member = button;
    }
}

void frmPhoneBook::buildNavigation() {
    picStatBox = new QWidget(this);
    picStatBox->setObjectName(QStringLiteral("picStatBox"));
    cmdFirst = navigationButton(picStatBox, "cmdFirst", PhoneBookText::firstRecord(),
                                navigationPicture(true, true));
    cmdPrevious = navigationButton(picStatBox, "cmdPrevious", PhoneBookText::previousRecord(),
                                   navigationPicture(true, false));
    cmdNext = navigationButton(picStatBox, "cmdNext", PhoneBookText::nextRecord(),
                               navigationPicture(false, false));
    cmdLast = navigationButton(picStatBox, "cmdLast", PhoneBookText::lastRecord(),
                               navigationPicture(false, true));
    placeInTwips(cmdFirst, 0, 0, 345, 300);
    placeInTwips(cmdPrevious, 345, 0, 345, 300);
    placeInTwips(cmdNext, 4200, 0, 345, 300);
    placeInTwips(cmdLast, 4545, 0, 345, 300);
    connect(cmdFirst, &QPushButton::clicked, this, &frmPhoneBook::cmdFirst_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmPhoneBook::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmPhoneBook::cmdNext_Click);
    connect(cmdLast, &QPushButton::clicked, this, &frmPhoneBook::cmdLast_Click);
    for (QPushButton *button : {cmdFirst, cmdPrevious, cmdNext, cmdLast})
        button->installEventFilter(this);

    lblStatus = new QLabel(picStatBox);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameShape(QFrame::Box);
    lblStatus->setAutoFillBackground(true);
    QPalette white = lblStatus->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    lblStatus->setPalette(white);
    placeInTwips(lblStatus, 720, 0, 3360, 285);
}

void frmPhoneBook::setTabOrder() {
    // Field boxes top to bottom, the command bar, the search frame, Update, then the
    // navigation strip from Last back to First.
    QList<QWidget *> order;
    for (const FieldPlace &at : fieldPlaces)
        order << txtFields[static_cast<size_t>(indexOf(at.field))];
    order << cmdAdd << cmdCancel << cmdEdit << cmdDelete << cmdRefresh << cmdClose << Command1
          << List1 << Text1 << cmdFrmSearch << cmdFrmCancel << cmdUpdate << cmdLast << cmdNext
          << cmdPrevious << cmdFirst;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmPhoneBook::Form_Load() {
    runReportingErrors([this] {
        std::unique_ptr<PhoneBookConnection> connection =
            openConnection(chosenConnectionString(platform().dataFolder()));
        adoPrimaryRS = std::make_unique<Recordset>();
        connect(adoPrimaryRS.get(), &Recordset::MoveComplete, this,
                &frmPhoneBook::adoPrimaryRS_MoveComplete);
        adoPrimaryRS->Open(std::move(connection));
        binding_ = new FieldBinding(*adoPrimaryRS, txtFields, this);
        binding_->show();
        lockFieldBoxes(true);
        sSearchCategory = QStringLiteral("Serial Number");
    });
}

void frmPhoneBook::adoPrimaryRS_MoveComplete() {
    lblStatus->setText(PhoneBookText::recordStatus(records().AbsolutePosition()));
}

Recordset &frmPhoneBook::records() const {
    if (!adoPrimaryRS)
        raiseError(ErrorNumber::RecordSetClosed, StoreText::notOpen());
    return *adoPrimaryRS;
}

void frmPhoneBook::lockFieldBoxes(bool locked) {
    for (QWidget *box : txtFields)
        lockBox(box, locked);
}

void frmPhoneBook::SetRecordButtons(bool browse) {
    cmdAdd->setVisible(browse);
    cmdEdit->setVisible(browse);
    cmdUpdate->setVisible(!browse);
    cmdCancel->setVisible(!browse);
    cmdDelete->setVisible(browse);
    cmdClose->setVisible(browse);
    cmdRefresh->setVisible(browse);
    cmdNext->setEnabled(browse);
    cmdFirst->setEnabled(browse);
    cmdLast->setEnabled(browse);
    cmdPrevious->setEnabled(browse);
}

void frmPhoneBook::resizeEvent(QResizeEvent *) {
    const int bottom = height();
    picStatBox->setGeometry(0, bottom - twipsToPixelsY(navigationHeight), width(),
                            twipsToPixelsY(navigationHeight));
    picButtons->setGeometry(0, picStatBox->y() - twipsToPixelsY(buttonBarHeight), width(),
                            twipsToPixelsY(buttonBarHeight));
    Form_Resize();
}

void frmPhoneBook::Form_Resize() {
    // A width that would come out negative is refused, and the label keeps its own.
    runIgnoringErrors({
        [&] {
            const double statusWidth = pixelsToTwipsX(width()) - 1500;
            if (statusWidth < 0)
                raiseError(ErrorNumber::InvalidPropertyValue);
            lblStatus->resize(twipsToPixelsX(statusWidth), lblStatus->height());
        },
        [&] { cmdNext->move(twipsToPixelsX(pixelsToTwipsX(lblStatus->width()) + 700), 0); },
        [&] { cmdLast->move(twipsToPixelsX(pixelsToTwipsX(cmdNext->x()) + 340), 0); },
    });
}

void frmPhoneBook::cmdFirst_Click() {
    runReportingErrors([&] { records().MoveFirst(); });
}

void frmPhoneBook::cmdLast_Click() {
    runReportingErrors([&] { records().MoveLast(); });
}

void frmPhoneBook::cmdNext_Click() {
    runReportingErrors([&] {
        Recordset &rs = records();
        if (!rs.EOF_())
            rs.MoveNext();
        if (rs.EOF_() && rs.RecordCount() > 0) {
            platform().beep();
            rs.MoveLast();
        }
    });
}

void frmPhoneBook::cmdPrevious_Click() {
    runReportingErrors([&] {
        Recordset &rs = records();
        if (!rs.BOF())
            rs.MovePrevious();
        if (rs.BOF() && rs.RecordCount() > 0) {
            platform().beep();
            rs.MoveFirst();
        }
    });
}

void frmPhoneBook::cmdAdd_Click() {
    runReportingErrors([&] {
        lockFieldBoxes(false);
        Recordset &rs = records();
        if (!(rs.BOF() && rs.EOF_()))
            vSavedBookmark = rs.Bookmark();
        rs.AddNew();
        lblStatus->setText(PhoneBookText::addingRecord());
        bAdding = true;
        SetRecordButtons(false);
        txtFields[static_cast<size_t>(indexOf(Field::SerialNumber))]->setFocus();
    });
}

void frmPhoneBook::cmdEdit_Click() {
    runReportingErrors([&] {
        // A contact shown cut is not opened for changes (a window without a phone book
        // opens its boxes, as it always has).
        if (adoPrimaryRS)
            adoPrimaryRS->requireWhole();
        lockFieldBoxes(false);
        lblStatus->setText(PhoneBookText::editingRecord());
        bEditing = true;
        SetRecordButtons(false);
        txtFields[static_cast<size_t>(indexOf(Field::SerialNumber))]->setFocus();
    });
}

void frmPhoneBook::cmdUpdate_Click() {
    runReportingErrors([&] {
        Recordset &rs = records();
        rs.UpdateBatch();
        if (bAdding)
            rs.MoveLast();
        bEditing = false;
        bAdding = false;
        SetRecordButtons(true);
        lockFieldBoxes(true);
        adoPrimaryRS_MoveComplete();
    });
}

void frmPhoneBook::cmdCancel_Click() {
    runIgnoringErrors({
        [&] { SetRecordButtons(true); },
        [&] {
            bEditing = false;
            bAdding = false;
        },
        [&] { records().CancelUpdate(); },
        [&] {
            if (vSavedBookmark > 0)
                records().setBookmark(vSavedBookmark);
            else
                records().MoveFirst();
        },
        [&] { lockFieldBoxes(true); },
        // Back in browse mode, the label shows the record's position again.
        [&] { adoPrimaryRS_MoveComplete(); },
    });
}

void frmPhoneBook::cmdDelete_Click() {
    runReportingErrors([&] {
        Recordset &rs = records();
        rs.Delete();
        rs.MoveNext();
        if (rs.EOF_())
            rs.MoveLast();
    });
}

void frmPhoneBook::cmdRefresh_Click() {
    runReportingErrors([&] { records().Requery(); });
    emit Refreshed();
}

void frmPhoneBook::cmdClose_Click() {
    // The window closes as its close box closes it, through the frame it sits in.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

bool frmPhoneBook::offerToSaveRecord() {
    if (!(bAdding || bEditing) || !adoPrimaryRS || !adoPrimaryRS->hasChanges())
        return true;
    const int answer =
        MsgBox(PhoneBookText::recordNotSaved(), MsgBoxStyle::YesNoCancel + MsgBoxStyle::Question);
    if (answer == MsgBoxResult::Cancel)
        return false;
    if (answer == MsgBoxResult::Yes) {
        cmdUpdate_Click();
        return !(bAdding || bEditing);
    }
    cmdCancel_Click();
    return true;
}

void frmPhoneBook::closeEvent(QCloseEvent *event) {
    // A record being added or edited is not dropped without a question.
    if (offerToSaveRecord())
        event->accept();
    else
        event->ignore();
}

bool frmPhoneBook::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift) {
    if (bEditing || bAdding)
        return false;
    // In the search frame the keys belong to its list, box and buttons; Esc there is
    // its Cancel.
    if (Frame1->isVisible() && Frame1->isAncestorOf(focusWidget())) {
        if (KeyCode != Qt::Key_Escape)
            return false;
        cmdFrmCancel->click();
        return true;
    }
    const bool exactlyCtrl =
        (Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ==
        Qt::ControlModifier;
    switch (KeyCode) {
    case Qt::Key_Escape:
        cmdClose_Click();
        return true;
    case Qt::Key_End:
        cmdLast_Click();
        return true;
    case Qt::Key_Home:
        cmdFirst_Click();
        return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        exactlyCtrl ? cmdFirst_Click() : cmdPrevious_Click();
        return true;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        exactlyCtrl ? cmdLast_Click() : cmdNext_Click();
        return true;
    default:
        return false;
    }
}

QPushButton *frmPhoneBook::buttonForKey(const QKeyEvent &key) const {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(key.keyCombination());
    for (QPushButton *button : findChildren<QPushButton *>()) {
        if (button->isVisible() && button->isEnabled() &&
            QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    }
    return nullptr;
}

bool frmPhoneBook::event(QEvent *event) {
    // Alt and a button's letter presses that button while the keyboard is in this window,
    // though a menu of the main window (Edit, Run) has the same letter: taken as a key
    // press rather than as a shortcut, which the two would make ambiguous, and pressed
    // when it comes, before the box that has the focus would type the letter.
    if (event->type() == QEvent::ShortcutOverride) {
        if (QPushButton *button = buttonForKey(*static_cast<QKeyEvent *>(event))) {
            keyedButton_ = button;
            qApp->installEventFilter(this);
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool frmPhoneBook::eventFilter(QObject *watched, QEvent *event) {
    // Until the key press of a button's letter comes, every event of the program passes
    // here first: only that key press is taken, and the next one ends the watch.
    if (keyedButton_) {
        if (event->type() != QEvent::KeyPress)
            return false;
        qApp->removeEventFilter(this);
        const QPointer<QPushButton> button = std::exchange(keyedButton_, nullptr);
        if (!button || buttonForKey(*static_cast<QKeyEvent *>(event)) != button)
            return false;
        button->click();
        return true;
    }
    if (contactDragEvent(event))
        return true;
    // The record keys work while a field box or a button has the focus; the search
    // list and the search text keep their keys for themselves.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (Form_KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmPhoneBook::keyPressEvent(QKeyEvent *event) {
    if (!Form_KeyDown(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}
