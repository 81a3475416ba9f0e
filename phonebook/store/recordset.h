#pragma once

#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/rowtable.h"

#include <QObject>
#include <map>
#include <memory>

// The phone book's record set: a static snapshot of the query's rows, held on the
// client, with optimistic locking. Changes made elsewhere show only after Requery; a
// record added here stays at the end until then. Edits wait as pending changes with
// their record until UpdateBatch writes them all or CancelUpdate drops them. Failures
// are RuntimeErrors with a description a user understands.
class Recordset : public QObject {
    Q_OBJECT
public:
    // AbsolutePosition's codes when there is no current record.
    static constexpr long adPosUnknown = -1;
    static constexpr long adPosBOF = -2;
    static constexpr long adPosEOF = -3;

    // Runs the phone book's query over the connection; the record set keeps it.
    void Open(std::unique_ptr<PhoneBookConnection> connection);
    bool isOpen() const { return connection_ != nullptr; }

    bool BOF() const;
    // EOF is the C library's macro, so the end of the records has a trailing underscore.
    bool EOF_() const;
    long RecordCount() const;
    long AbsolutePosition() const;
    // Moves to a 1-based position.
    void setAbsolutePosition(long position);
    long Bookmark() const;
    void setBookmark(long bookmark);

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    void AddNew();
    void UpdateBatch();
    void CancelUpdate();
    void Delete();
    void Requery();

    // The current record's value of a field as its box shows it (empty for no value),
    // with any pending change; and a change typed into its box.
    QString fieldText(int field) const;
    void setFieldText(int field, const QString &text);
    // The text of a field of the record at a 1-based position, without moving there.
    QString fieldTextAt(long position, int field) const;
    // Whether any record holds a typed change that is not written yet.
    bool hasChanges() const;
    // Refuses the current record when a value of it is too long to be shown whole (what
    // the window holds of it is cut), so that it cannot be changed from there.
    void requireWhole() const;

    // The longest value shown whole, in bytes of UTF-8: a box laying out megabytes on
    // every move would freeze the window.
    static constexpr size_t shownValueLimit = 16 * 1024;

signals:
    // The current position changed: opening, moving, adding, requerying, a bookmark.
    void MoveComplete();
    // The current record's values changed where it stands (written, or changes dropped).
    void FieldsChanged();

private:
    long rowCount() const;
    // A pending change: for each field, the new value once one was typed.
    struct Pending {
        bool isNew = false;
        std::array<std::optional<Value>, fieldCount> fields;
        bool touched() const;
    };

    void requireOpen() const;
    void requireCurrent() const;
    bool hasCurrent() const;
    void moveTo(long index);
    Value currentValue(size_t index, int field) const;

    std::unique_ptr<PhoneBookConnection> connection_;
    RowTable rows_{shownValueLimit};
    std::map<uint32_t, Pending> pending_; // by row identity
    // The current row's index; -1 before the first row, the row count after the last.
    long index_ = 0;
    // Delete leaves the current record gone; the next move starts from where it stood.
    bool currentDeleted_ = false;
};
