#include "diary/frmfind.h"

#include "diary/diarytexts.h"
#include "platform/units.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int shownRole = Qt::UserRole + 1;
// Changes in the folder come in bursts (a file and its temporary copy): they are taken
// together once the folder has been quiet this long.
constexpr int folderQuietMilliseconds = 150;
// A file rewritten in place changes nothing the folder's watch sees: the entries are
// compared with the index this often as well, which costs a look at each file's size
// and time.
constexpr int sweepMilliseconds = 2000;
constexpr double designWidth = 8400;  // twips
constexpr double designHeight = 6000; // twips

// A result as the list draws it: the title, the passage with the words found in bold,
// and the number of places found.
QString shownText(const DiaryIndex::Found &found) {
    QString passage;
    qsizetype at = 0;
    for (const TextSpan &span : found.passageSpans) {
        passage += found.passage.mid(at, span.start - at).toHtmlEscaped();
        passage += QStringLiteral("<b>") +
                   found.passage.mid(span.start, span.length).toHtmlEscaped() +
                   QStringLiteral("</b>");
        at = span.start + span.length;
    }
    passage += found.passage.mid(at).toHtmlEscaped();
    return QStringLiteral("<b>%1</b> &nbsp;(%2)<br>%3")
        .arg(found.title.toHtmlEscaped(), DiaryText::hitsIn(found.hits), passage);
}

// Draws each result as formatted text.
class FoundDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        QTextDocument document;
        layOut(document, option, index);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = option.palette;
        if (option.state & QStyle::State_Selected)
            context.palette.setColor(QPalette::Text,
                                     option.palette.color(QPalette::HighlightedText));
        painter->save();
        painter->translate(option.rect.topLeft());
        painter->setClipRect(QRect(QPoint(0, 0), option.rect.size()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    // Every result takes three lines: the title and two of the passage. Equal heights
    // let the list lay out thousands of rows without measuring each.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
        return {option.rect.width(), QFontMetrics(option.font).lineSpacing() * 3 + 8};
    }

private:
    static void layOut(QTextDocument &document, const QStyleOptionViewItem &option,
                       const QModelIndex &index) {
        document.setDefaultFont(option.font);
        document.setHtml(index.data(shownRole).toString());
        document.setTextWidth(option.rect.width() > 0 ? option.rect.width() : 400);
    }
};

} // namespace

DiarySearchWorker::DiarySearchWorker(QString folder, QString indexFile)
    : folder_(std::move(folder)), indexFile_(std::move(indexFile)) {}

DiarySearchWorker::~DiarySearchWorker() = default;

DiaryIndex &DiarySearchWorker::index() {
    if (!index_)
        index_ = std::make_unique<DiaryIndex>(indexFile_);
    return *index_;
}

void DiarySearchWorker::update() {
    // A change seen while the index is being brought in step is taken afterwards.
    if (updating_) {
        updateAgain_ = true;
        return;
    }
    updating_ = true;
    do {
        updateAgain_ = false;
        index().update(
            folder_,
            [this](int done, int total) {
                emit progress(done, total);
                // Searches asked meanwhile are answered from what is read so far.
                QCoreApplication::processEvents();
                answerLatest();
            },
            &stopping);
    } while (updateAgain_ && !stopping);
    updating_ = false;
    if (stopping)
        return;
    answerLatest();
    emit updated(index().unreadableCount());
}

void DiarySearchWorker::search(int number, const SearchTerms &terms, DiaryIndex::Order order) {
    if (number < latestSearch)
        return;
    searchNumber_ = number;
    terms_ = terms;
    order_ = order;
    answerLatest();
}

void DiarySearchWorker::answerLatest() {
    if (searchNumber_ == 0 || searchNumber_ < latestSearch || stopping)
        return;
    int total = 0;
    const QList<DiaryIndex::Found> results =
        index().search(terms_, order_, frmFind::listedAtMost, total);
    emit found(searchNumber_, results, total);
}

frmFind::frmFind(const QString &folder, QWidget *parent) : QWidget(parent), folder_(folder) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(DiaryText::findTitle());

    auto *label = new QLabel(DiaryText::findLabel(), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    label->setBuddy(txtFind);
    txtFind->setAccessibleName(QStringLiteral("Find"));
    chkBestMatch = new QCheckBox(DiaryText::bestMatchFirst(), this);
    chkBestMatch->setObjectName(QStringLiteral("chkBestMatch"));
    lstFound = new QListWidget(this);
    lstFound->setObjectName(QStringLiteral("lstFound"));
    lstFound->setAccessibleName(DiaryText::foundList());
    lstFound->setItemDelegate(new FoundDelegate(lstFound));
    lstFound->setUniformItemSizes(true);
    lblCount = new QLabel(DiaryText::typeToFind(), this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setWordWrap(true);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(label);
    searchRow->addWidget(txtFind, 1);
    searchRow->addWidget(chkBestMatch);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(lstFound, 1);
    layout->addWidget(lblCount);
    setFocusProxy(txtFind);

    connect(txtFind, &QLineEdit::textChanged, this, &frmFind::askAgain);
    connect(chkBestMatch, &QCheckBox::toggled, this, &frmFind::askAgain);
    connect(lstFound, &QListWidget::itemActivated, this, &frmFind::choose);
    txtFind->installEventFilter(this);

    worker_ = new DiarySearchWorker(folder, DiaryIndex::fileFor(folder));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &DiarySearchWorker::found, this, &frmFind::showResults);
    connect(worker_, &DiarySearchWorker::progress, this, &frmFind::tellProgress);
    connect(worker_, &DiarySearchWorker::updated, this, &frmFind::tellUpdated);
    thread_.start();
    QMetaObject::invokeMethod(worker_, &DiarySearchWorker::update, Qt::QueuedConnection);

    // Entries written, changed or deleted by other programs while the window is open.
    auto *quiet = new QTimer(this);
    quiet->setSingleShot(true);
    quiet->setInterval(folderQuietMilliseconds);
    connect(quiet, &QTimer::timeout, worker_, &DiarySearchWorker::update);
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(folder);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, quiet, qOverload<>(&QTimer::start));
    auto *sweep = new QTimer(this);
    connect(sweep, &QTimer::timeout, worker_, &DiarySearchWorker::update);
    sweep->start(sweepMilliseconds);
}

QSize frmFind::sizeHint() const {
    return {twipsToPixelsX(designWidth), twipsToPixelsY(designHeight)};
}

frmFind::~frmFind() {
    worker_->stopping = true;
    thread_.quit();
    thread_.wait();
}

void frmFind::askAgain() {
    const SearchTerms terms = SearchTerms::parse(txtFind->text());
    worker_->latestSearch = ++searchNumber_;
    if (terms.isEmpty()) {
        lstFound->clear();
        total_ = -1;
        showCount();
        emit resultsShown();
        return;
    }
    const auto order = chkBestMatch->isChecked() ? DiaryIndex::Order::BestMatchFirst
                                                 : DiaryIndex::Order::NewestFirst;
    QMetaObject::invokeMethod(worker_, [worker = worker_, number = searchNumber_, terms, order] {
        worker->search(number, terms, order);
    });
    shownTerms_ = terms;
}

void frmFind::showResults(int number, const QList<DiaryIndex::Found> &results, int total) {
    if (number != searchNumber_)
        return;
    const int current = lstFound->currentRow();
    lstFound->clear();
    for (const DiaryIndex::Found &found : results) {
        auto *item = new QListWidgetItem(found.title, lstFound);
        item->setData(pathRole, folder_ + QLatin1Char('/') + found.title + QStringLiteral(".DIA"));
        item->setData(shownRole, shownText(found));
        item->setData(Qt::AccessibleTextRole, found.title + QStringLiteral(", ") + found.passage);
        item->setData(Qt::ToolTipRole, DiaryText::hitsIn(found.hits));
    }
    if (current >= 0 && current < lstFound->count())
        lstFound->setCurrentRow(current);
    total_ = total;
    showCount();
    emit resultsShown();
}

void frmFind::tellProgress(int done, int total) {
    progress_ = done < total ? DiaryText::readingEntries(done, total) : QString();
    showCount();
}

void frmFind::tellUpdated(int unreadable) {
    progress_.clear();
    unreadable_ = unreadable;
    showCount();
}

void frmFind::showCount() {
    QStringList lines;
    lines << (total_ < 0 ? DiaryText::typeToFind() : DiaryText::entriesFound(total_));
    if (total_ > lstFound->count() && lstFound->count() > 0)
        lines << DiaryText::firstListed(lstFound->count());
    if (!progress_.isEmpty())
        lines << progress_;
    if (unreadable_ > 0)
        lines << DiaryText::unreadableEntries(unreadable_);
    lblCount->setText(lines.join(QLatin1Char(' ')));
}

void frmFind::choose(QListWidgetItem *item) {
    if (item)
        emit entryChosen(item->data(pathRole).toString(), shownTerms_);
}

bool frmFind::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtFind && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Down goes from the box to the list; Enter opens the entry chosen there, or the
        // first one.
        if (key == Qt::Key_Down && lstFound->count() > 0) {
            lstFound->setFocus();
            if (lstFound->currentRow() < 0)
                lstFound->setCurrentRow(0);
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lstFound->count() > 0) {
            choose(lstFound->currentItem() ? lstFound->currentItem() : lstFound->item(0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
