// The search frame of a phone book window: finds the records whose chosen field equals
// a typed value, one after the other.
#include "phonebook/frmphonebook.h"
#include "phonebook/leadingnumber.h"
#include "phonebook/phonebooktexts.h"
#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/recordset.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/units.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
enum class Comparison { Text, Numeric };

// The categories of the search list, in their order, with the field each searches.
struct Category {
    const char *entry;
    Field field;
    Comparison comparison;
};
constexpr std::array<Category, 11> categories{{
    {"Serial Number", Field::SerialNumber, Comparison::Numeric},
    {"Name", Field::Name, Comparison::Text},
    {"City", Field::City, Comparison::Text},
    {"State", Field::State, Comparison::Text},
    {"Country", Field::Country, Comparison::Text},
    {"PinCode", Field::PinCode, Comparison::Numeric},
    {"Phone", Field::Phone, Comparison::Numeric},
    {"EMail", Field::Email, Comparison::Text},
    {"DateOfBirth", Field::DateOfBirth, Comparison::Text},
    // Twins of EMail and DateOfBirth, which search the same fields.
    {"E-Mail", Field::Email, Comparison::Text},
    {"Date Of Birth", Field::DateOfBirth, Comparison::Text},
}};

// A label is never narrower than its words in the font this machine has.
void fitToText(QLabel *label) {
    label->resize(label->size().expandedTo(label->sizeHint()));
}

const Category *categoryNamed(const QString &name) {
    for (const Category &category : categories) {
        if (name == QLatin1String(category.entry))
            return &category;
    }
    return nullptr;
}

const QString newSearch = QStringLiteral("Search");
const QString continueSearch = QStringLiteral("Continue Search");
const QString cancelCaption = QStringLiteral("Cancel");
const QString endSearch = QStringLiteral("End Search");
} // namespace

void frmPhoneBook::buildSearchFrame() {
    Frame1 = new QGroupBox(QStringLiteral("Search"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    placeInTwips(Frame1, 6720, 1200, 4695, 4935);

    Label1 = new QLabel(QStringLiteral("Search On"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeInTwips(Label1, 240, 480, 765, 195);
    fitToText(Label1);
    List1 = new QListWidget(Frame1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral("SELECT THE CATEGORY YOU WANT TO SEARCH"));
    for (const Category &category : categories)
        List1->addItem(QString::fromLatin1(category.entry));
    placeInTwips(List1, 840, 840, 3135, 450);
    Label1->setBuddy(List1);
    // A list does not take its name from its label by itself.
    List1->setAccessibleName(Label1->text());
    connect(List1, &QListWidget::itemSelectionChanged, this, &frmPhoneBook::List1_Click);

    Label2 = new QLabel(QStringLiteral("Enter the item to be searched for :"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    placeInTwips(Label2, 240, 1560, 2400, 195);
    fitToText(Label2);
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("ENTER THE ITEM TO WANT TO SEARCH FOR"));
    placeInTwips(Text1, 840, 2040, 3135, 405);
    Label2->setBuddy(Text1);

    cmdFrmSearch = new QPushButton(QStringLiteral("Searc&h"), Frame1);
    cmdFrmSearch->setObjectName(QStringLiteral("cmdFrmSearch"));
    cmdFrmSearch->setToolTip(QStringLiteral("SEARCH"));
    placeInTwips(cmdFrmSearch, 480, 4320, 1935, 375);
    connect(cmdFrmSearch, &QPushButton::clicked, this, &frmPhoneBook::cmdFrmSearch_Click);
    cmdFrmCancel = new QPushButton(QStringLiteral("Ca&ncel"), Frame1);
    cmdFrmCancel->setObjectName(QStringLiteral("cmdFrmCancel"));
    cmdFrmCancel->setToolTip(QStringLiteral("CANCEL THE SEARCH"));
    placeInTwips(cmdFrmCancel, 2640, 4320, 1695, 375);
    connect(cmdFrmCancel, &QPushButton::clicked, this, &frmPhoneBook::cmdFrmCancel_Click);
    cmdFrmSearch->installEventFilter(this);
    cmdFrmCancel->installEventFilter(this);

    Frame1->setEnabled(false);
    Frame1->hide();
}

void frmPhoneBook::HideFieldBoxes() {
    for (QWidget *box : txtFields)
        box->hide();
}

void frmPhoneBook::ShowFieldBoxes() {
    for (QWidget *box : txtFields)
        box->show();
}

void frmPhoneBook::Command1_Click() {
    Frame1->setEnabled(true);
    Frame1->show();
    cmdFrmSearch->setText(newSearch);
    cmdFrmCancel->setText(cancelCaption);
    ShowFieldBoxes();
    // The keyboard goes where the user is about to work.
    List1->setFocus();
}

void frmPhoneBook::List1_Click() {
    if (QListWidgetItem *item = List1->currentItem(); item && item->isSelected())
        sSearchCategory = item->text();
}

void frmPhoneBook::cmdFrmSearch_Click() {
    cmdFrmCancel->setText(endSearch);
    try {
        if (Text1->text().isEmpty()) {
            MsgBox(PhoneBookText::emptySearchText(), MsgBoxStyle::OkOnly);
            Text1->setFocus();
            return;
        }
        const bool fresh = cmdFrmSearch->text() == newSearch;
        Recordset &rs = records();
        searchOrigin_ = rs.BOF() || rs.EOF_() ? 0 : rs.Bookmark();
        HideFieldBoxes();
        if (fresh)
            rs.MoveFirst();
        else
            rs.MoveNext();
        ScanForMatch();
        ShowFieldBoxes();
    } catch (...) {
        reportCurrentError();
        ShowFieldBoxes();
        cmdFrmSearch->setText(newSearch);
        cmdFrmCancel->setText(cancelCaption);
    }
}

void frmPhoneBook::ScanForMatch() {
    runReportingErrors([&] {
        const Category *category = categoryNamed(sSearchCategory);
        if (!category)
            return;
        Recordset &rs = records();
        const int field = indexOf(category->field);
        const QString wanted = Text1->text();
        const double wantedNumber = leadingNumber(wanted);
        auto matches = [&](const QString &text) {
            return category->comparison == Comparison::Text ? text == wanted
                                                            : leadingNumber(text) == wantedNumber;
        };
        // The scan reads the records' values with anything typed into them, which are what
        // the bound boxes show; it moves the record set once, to the match, so that a long
        // scan draws nothing on the way.
        const long count = rs.RecordCount();
        long position = rs.BOF() ? 1 : rs.EOF_() ? count + 1 : rs.AbsolutePosition();
        for (; position <= count; ++position) {
            if (matches(rs.fieldTextAt(position, field))) {
                rs.setAbsolutePosition(position);
                ShowFieldBoxes();
                cmdFrmSearch->setText(continueSearch);
                return;
            }
        }
        // The end of the records: the search goes back to where it was started.
        MsgBox(PhoneBookText::noMatch(), MsgBoxStyle::OkOnly);
        if (searchOrigin_ > 0)
            rs.setBookmark(searchOrigin_);
    });
}

void frmPhoneBook::cmdFrmCancel_Click() {
    if (cmdFrmCancel->text() == cancelCaption) {
        Frame1->setEnabled(false);
        Frame1->hide();
        return;
    }
    ShowFieldBoxes();
    cmdFrmCancel->setText(cancelCaption);
    cmdFrmSearch->setText(newSearch);
}
