#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QTableWidget;

// A contact's birthday: the day of the year, and whose it is.
struct Birthday {
    int month = 0;
    int day = 0;
    QString name;
};

// The birthday a phone book's date of birth gives: written YYYY-MM-DD, --MM-DD or
// MM-DD-YYYY; nothing for anything else.
std::optional<Birthday> birthdayOf(const QString &dateOfBirth, const QString &name);

// The Diary Calendar window: a month of days, those with an entry in bold and marked,
// today marked, and a small mark on a contact's birthday, whose names are listed under
// the month for the chosen day. Enter or a double click opens the day's entry, or starts
// one for that day.
class frmCalendar : public QWidget {
    Q_OBJECT
public:
    using BirthdaySource = std::function<QList<Birthday>()>;
    frmCalendar(const QString &folder, BirthdaySource birthdays, QWidget *parent = nullptr);

    QLabel *lblMonth = nullptr;
    QTableWidget *grdDays = nullptr;
    QLabel *lblBirthdays = nullptr;

    QDate chosenDay() const { return chosen_; }
    void choose(const QDate &day);
    // Reads the phone book's birthdays again.
    void refreshBirthdays();

    QSize sizeHint() const override;

signals:
    // The user opened a day: its entry's file when there is one, else empty.
    void dayOpened(const QDate &day, const QString &entryPath);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readEntryDays();
    void fillMonth();
    void openChosen();
    QDate dayAt(int row, int column) const;
    QString entryPath(const QDate &day) const;

    QString folder_;
    BirthdaySource birthdaySource_;
    QList<Birthday> birthdays_;
    QSet<QDate> entryDays_;
    QDate chosen_;
    QDate firstShown_;
};
