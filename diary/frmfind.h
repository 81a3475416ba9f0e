#pragma once

#include "diary/diaryindex.h"
#include "diary/searchterms.h"

#include <QObject>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <memory>

class QCheckBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// The index's own thread: it brings the index in step with the diary folder and answers
// the searches, the latest one first; while the index is being built, each few entries
// read answer the latest search again with what is found so far.
class DiarySearchWorker : public QObject {
    Q_OBJECT
public:
    DiarySearchWorker(QString folder, QString indexFile);
    ~DiarySearchWorker() override;

    // Set from any thread: the work in hand ends at its next step.
    std::atomic_bool stopping{false};
    // The number of the latest search asked for; older ones are not answered.
    std::atomic_int latestSearch{0};

public slots:
    void update();
    void search(int number, const SearchTerms &terms, DiaryIndex::Order order);

signals:
    void progress(int done, int total);
    void updated(int unreadable);
    void found(int number, const QList<DiaryIndex::Found> &results, int total);

private:
    DiaryIndex &index();
    void answerLatest();

    QString folder_;
    QString indexFile_;
    std::unique_ptr<DiaryIndex> index_;
    bool updating_ = false;
    bool updateAgain_ = false;
    int searchNumber_ = 0;
    SearchTerms terms_;
    DiaryIndex::Order order_ = DiaryIndex::Order::NewestFirst;
};

// The Find in Diary window: a search box whose words are looked for in every entry as
// they are typed, the entries found with a passage each, and how many there are.
class frmFind : public QWidget {
    Q_OBJECT
public:
    explicit frmFind(const QString &folder, QWidget *parent = nullptr);
    ~frmFind() override;

    QLineEdit *txtFind = nullptr;
    QCheckBox *chkBestMatch = nullptr;
    QListWidget *lstFound = nullptr;
    QLabel *lblCount = nullptr;

    // A new window opens large enough for a few results with their passages.
    QSize sizeHint() const override;

    // The most entries listed for one search; the count line tells how many hold it.
    static constexpr int listedAtMost = 50;

signals:
    // The user chose an entry of the list: open it with the search's words shown.
    void entryChosen(const QString &path, const SearchTerms &terms);
    // The list shows the answer to the search as it is typed now.
    void resultsShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void askAgain();
    void showResults(int number, const QList<DiaryIndex::Found> &results, int total);
    void tellProgress(int done, int total);
    void tellUpdated(int unreadable);
    void showCount();
    void choose(QListWidgetItem *item);

    QString folder_;
    QThread thread_;
    DiarySearchWorker *worker_ = nullptr;
    QFileSystemWatcher *watcher_ = nullptr;
    int searchNumber_ = 0;
    SearchTerms shownTerms_;
    int total_ = -1;
    int unreadable_ = 0;
    QString progress_;
};
