#include "diary/frmcalendar.h"

#include "diary/diaryfiles.h"
#include "diary/diarytexts.h"
#include "platform/platform.h"
#include "platform/units.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int weeksShown = 6;
constexpr int folderQuietMilliseconds = 150;
constexpr double designWidth = 6000;  // twips
constexpr double designHeight = 5200; // twips

// The small marks drawn beside a day's number: a dot for an entry, a ring for a birthday.
QIcon marksPicture(bool entry, bool birthday) {
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (entry) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 160));
        painter.drawEllipse(QRectF(1, 1, 5, 5));
    }
    if (birthday) {
        painter.setPen(QPen(QColor(192, 0, 0), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    }
    return QIcon(picture);
}

// The day of a birthday in a given year; 29 February falls on the 28th in other years.
QDate birthdayIn(const Birthday &birthday, int year) {
    if (birthday.month == 2 && birthday.day == 29 && !QDate::isLeapYear(year))
        return {year, 2, 28};
    return {year, birthday.month, birthday.day};
}

} // namespace

std::optional<Birthday> birthdayOf(const QString &dateOfBirth, const QString &name) {
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    static const QRegularExpression yearless(QStringLiteral("^--(\\d{2})-?(\\d{2})$"));
    static const QRegularExpression american(QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{4})$"));
    const QString text = dateOfBirth.trimmed();
    int month = 0, day = 0;
    if (const auto match = iso.match(text); match.hasMatch()) {
        month = match.captured(2).toInt();
        day = match.captured(3).toInt();
    } else if (const auto match = yearless.match(text); match.hasMatch()) {
        month = match.captured(1).toInt();
        day = match.captured(2).toInt();
    } else if (const auto match = american.match(text); match.hasMatch()) {
        month = match.captured(1).toInt();
        day = match.captured(2).toInt();
    } else {
        return std::nullopt;
    }
    // Checked against a leap year, so that 29 February is a birthday.
    if (!QDate(2000, month, day).isValid())
        return std::nullopt;
    return Birthday{month, day, name.trimmed()};
}

frmCalendar::frmCalendar(const QString &folder, BirthdaySource birthdays, QWidget *parent)
    : QWidget(parent), folder_(folder), birthdaySource_(std::move(birthdays)) {
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(DiaryText::calendarTitle());
    lblMonth = new QLabel(this);
    lblMonth->setObjectName(QStringLiteral("lblMonth"));
    lblMonth->setAlignment(Qt::AlignCenter);
    grdDays = new QTableWidget(weeksShown, 7, this);
    grdDays->setObjectName(QStringLiteral("grdDays"));
    grdDays->setAccessibleName(DiaryText::calendarDays());
    grdDays->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdDays->setSelectionMode(QAbstractItemView::SingleSelection);
    grdDays->verticalHeader()->hide();
    grdDays->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdDays->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    const QLocale locale;
    for (int column = 0; column < 7; ++column) {
        const int weekday = (int(locale.firstDayOfWeek()) - 1 + column) % 7 + 1;
        grdDays->setHorizontalHeaderItem(
            column, new QTableWidgetItem(locale.dayName(weekday, QLocale::ShortFormat)));
    }
    lblBirthdays = new QLabel(this);
    lblBirthdays->setObjectName(QStringLiteral("lblBirthdays"));
    lblBirthdays->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblMonth);
    layout->addWidget(grdDays, 1);
    layout->addWidget(lblBirthdays);
    setFocusProxy(grdDays);
    grdDays->installEventFilter(this);
    connect(grdDays, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        choose(dayAt(row, column));
        openChosen();
    });
    connect(grdDays, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0 && dayAt(row, column) != chosen_)
            choose(dayAt(row, column));
    });

    // Entries saved, written or deleted by other programs mark their days at once.
    auto *quiet = new QTimer(this);
    quiet->setSingleShot(true);
    quiet->setInterval(folderQuietMilliseconds);
    connect(quiet, &QTimer::timeout, this, [this] {
        readEntryDays();
        fillMonth();
    });
    auto *watcher = new QFileSystemWatcher(this);
    watcher->addPath(folder_);
    connect(watcher, &QFileSystemWatcher::directoryChanged, quiet, qOverload<>(&QTimer::start));

    readEntryDays();
    birthdays_ = birthdaySource_ ? birthdaySource_() : QList<Birthday>{};
    choose(platform().today());
}

QSize frmCalendar::sizeHint() const {
    return {twipsToPixelsX(designWidth), twipsToPixelsY(designHeight)};
}

void frmCalendar::refreshBirthdays() {
    birthdays_ = birthdaySource_ ? birthdaySource_() : QList<Birthday>{};
    fillMonth();
}

void frmCalendar::readEntryDays() {
    entryDays_.clear();
    const QString prefix = DiaryText::entryPrefix();
    for (const QString &file : QDir(folder_).entryList(
             {prefix + QStringLiteral("*") + entryFileExtension()}, QDir::Files)) {
        // Only the day's own entry, which Enter opens.
        const std::optional<QDate> day = dayInName(file);
        if (day &&
            file.compare(entryNameFor(*day) + entryFileExtension(), Qt::CaseInsensitive) == 0)
            entryDays_.insert(*day);
    }
}

QString frmCalendar::entryPath(const QDate &day) const {
    if (!entryDays_.contains(day))
        return {};
    return folder_ + QLatin1Char('/') + entryNameFor(day) + entryFileExtension();
}

QDate frmCalendar::dayAt(int row, int column) const {
    return firstShown_.addDays(row * 7 + column);
}

void frmCalendar::choose(const QDate &day) {
    if (!day.isValid())
        return;
    const bool otherMonth =
        !chosen_.isValid() || day.month() != chosen_.month() || day.year() != chosen_.year();
    chosen_ = day;
    if (otherMonth) {
        const QDate first(day.year(), day.month(), 1);
        const int firstColumn = (first.dayOfWeek() - int(QLocale().firstDayOfWeek()) + 7) % 7;
        firstShown_ = first.addDays(-firstColumn);
    }
    fillMonth();
}

void frmCalendar::fillMonth() {
    const QLocale locale;
    const QDate today = platform().today();
    lblMonth->setText(locale.standaloneMonthName(chosen_.month()) + QLatin1Char(' ') +
                      QString::number(chosen_.year()));
    const QSignalBlocker quiet(grdDays);
    QStringList chosenBirthdays;
    for (int row = 0; row < weeksShown; ++row) {
        for (int column = 0; column < 7; ++column) {
            const QDate day = dayAt(row, column);
            QStringList names;
            for (const Birthday &birthday : birthdays_) {
                if (birthdayIn(birthday, day.year()) == day)
                    names << birthday.name;
            }
            const bool entry = entryDays_.contains(day);
            auto *item = new QTableWidgetItem(QString::number(day.day()));
            QFont font = grdDays->font();
            font.setBold(entry);
            font.setUnderline(day == today);
            item->setFont(font);
            if (entry || !names.isEmpty())
                item->setIcon(marksPicture(entry, !names.isEmpty()));
            if (day.month() != chosen_.month())
                item->setForeground(grdDays->palette().color(QPalette::Disabled, QPalette::Text));
            if (day == today)
                item->setBackground(grdDays->palette().color(QPalette::AlternateBase));
            QString heard = locale.toString(day, QLocale::LongFormat);
            if (day == today)
                heard += DiaryText::calendarToday();
            if (entry)
                heard += DiaryText::calendarEntry();
            for (const QString &name : names)
                heard += DiaryText::calendarBirthday(name);
            item->setData(Qt::AccessibleTextRole, heard);
            item->setToolTip(heard);
            grdDays->setItem(row, column, item);
            if (day == chosen_) {
                grdDays->setCurrentCell(row, column);
                chosenBirthdays = names;
            }
        }
    }
    lblBirthdays->setText(chosenBirthdays.isEmpty()
                              ? QString()
                              : DiaryText::birthdaysOn(chosenBirthdays.join(QStringLiteral(", "))));
}

void frmCalendar::openChosen() {
    emit dayOpened(chosen_, entryPath(chosen_));
}

bool frmCalendar::eventFilter(QObject *watched, QEvent *event) {
    if (watched != grdDays || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Left:
        choose(chosen_.addDays(-1));
        return true;
    case Qt::Key_Right:
        choose(chosen_.addDays(1));
        return true;
    case Qt::Key_Up:
        choose(chosen_.addDays(-7));
        return true;
    case Qt::Key_Down:
        choose(chosen_.addDays(7));
        return true;
    case Qt::Key_PageUp:
        choose(chosen_.addMonths(-1));
        return true;
    case Qt::Key_PageDown:
        choose(chosen_.addMonths(1));
        return true;
    case Qt::Key_Home:
        choose(platform().today());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openChosen();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
