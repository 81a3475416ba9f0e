#include "phonebook/store/recordset.h"

#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

bool Recordset::Pending::touched() const {
    for (const auto &field : fields) {
        if (field)
            return true;
    }
    return false;
}

void Recordset::requireOpen() const {
    if (!connection_)
        raiseError(ErrorNumber::RecordSetClosed, StoreText::notOpen());
}

bool Recordset::hasCurrent() const {
    return !currentDeleted_ && index_ >= 0 && index_ < rowCount();
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (!hasCurrent())
        raiseError(ErrorNumber::NoCurrentRecord,
                   rows_.empty() ? StoreText::emptyPhoneBook() : StoreText::noCurrentRecord());
}

void Recordset::Open(std::unique_ptr<PhoneBookConnection> connection) {
    RowTable rows(shownValueLimit);
    connection->readAll(rows);
    connection_ = std::move(connection);
    rows_ = std::move(rows);
    pending_.clear();
    moveTo(0);
}

// A record set that is closed (its query failed) answers none of these: the command that
// asks is told so, as for every other step on it.
bool Recordset::BOF() const {
    requireOpen();
    return rows_.empty() || index_ < 0;
}

bool Recordset::EOF_() const {
    requireOpen();
    return rows_.empty() || index_ >= rowCount();
}

long Recordset::RecordCount() const {
    requireOpen();
    return rowCount();
}

long Recordset::rowCount() const {
    return static_cast<long>(rows_.size());
}

long Recordset::AbsolutePosition() const {
    if (rows_.empty())
        return adPosUnknown;
    if (index_ < 0)
        return adPosBOF;
    if (index_ >= rowCount())
        return adPosEOF;
    return index_ + 1;
}

void Recordset::setAbsolutePosition(long position) {
    requireOpen();
    if (position < 1 || position > RecordCount())
        raiseError(ErrorNumber::NoCurrentRecord, StoreText::noCurrentRecord());
    moveTo(position - 1);
}

long Recordset::Bookmark() const {
    requireCurrent();
    return static_cast<long>(rows_.identity(static_cast<size_t>(index_)));
}

void Recordset::setBookmark(long bookmark) {
    requireOpen();
    const auto index = bookmark > 0 ? rows_.indexOf(static_cast<uint32_t>(bookmark)) : std::nullopt;
    if (!index)
        raiseError(ErrorNumber::NoCurrentRecord, StoreText::noCurrentRecord());
    moveTo(static_cast<long>(*index));
}

void Recordset::moveTo(long index) {
    index_ = index;
    currentDeleted_ = false;
    emit MoveComplete();
}

void Recordset::MoveFirst() {
    requireOpen();
    if (rows_.empty())
        raiseError(ErrorNumber::NoCurrentRecord, StoreText::emptyPhoneBook());
    moveTo(0);
}

void Recordset::MoveLast() {
    requireOpen();
    if (rows_.empty())
        raiseError(ErrorNumber::NoCurrentRecord, StoreText::emptyPhoneBook());
    moveTo(RecordCount() - 1);
}

void Recordset::MoveNext() {
    requireOpen();
    if (currentDeleted_) {
        // The row after the deleted one now stands where it stood.
        moveTo(index_);
        return;
    }
    if (rows_.empty() || index_ >= rowCount())
        raiseError(ErrorNumber::NoCurrentRecord,
                   rows_.empty() ? StoreText::emptyPhoneBook() : StoreText::noCurrentRecord());
    moveTo(index_ + 1);
}

void Recordset::MovePrevious() {
    requireOpen();
    if (!currentDeleted_ && (rows_.empty() || index_ < 0))
        raiseError(ErrorNumber::NoCurrentRecord,
                   rows_.empty() ? StoreText::emptyPhoneBook() : StoreText::noCurrentRecord());
    moveTo(index_ - 1);
}

void Recordset::AddNew() {
    requireOpen();
    const size_t index = rows_.append(Values{});
    pending_[rows_.identity(index)].isNew = true;
    moveTo(static_cast<long>(index));
}

void Recordset::UpdateBatch() {
    requireOpen();
    std::vector<std::pair<uint32_t, StoredValues>> written;
    bool anything = false;
    for (const auto &[identity, change] : pending_)
        anything = anything || change.isNew || change.touched();
    if (!anything)
        return;
    connection_->beginWriting();
    try {
        for (const auto &[identity, change] : pending_) {
            const size_t index = *rows_.indexOf(identity);
            if (change.isNew) {
                Values values;
                for (int i = 0; i < fieldCount; ++i)
                    values[static_cast<size_t>(i)] =
                        change.fields[static_cast<size_t>(i)].value_or(std::nullopt);
                written.emplace_back(identity, connection_->insertRecord(values));
                continue;
            }
            if (rows_.isCut(index))
                raiseError(ErrorNumber::PermissionDenied, StoreText::recordTooLong());
            std::vector<PhoneBookConnection::Change> changes;
            for (int i = 0; i < fieldCount; ++i) {
                if (const auto &field = change.fields[static_cast<size_t>(i)])
                    changes.push_back({i, *field});
            }
            if (!changes.empty())
                written.emplace_back(identity,
                                     connection_->updateRecord(rows_.raw(index), changes));
        }
        connection_->commit();
    } catch (...) {
        // Nothing of the batch is written; every pending change stays.
        connection_->rollback();
        throw;
    }
    for (const auto &[identity, values] : written)
        rows_.replace(*rows_.indexOf(identity), values);
    pending_.clear();
    emit FieldsChanged();
}

void Recordset::CancelUpdate() {
    requireOpen();
    for (const auto &[identity, change] : pending_) {
        if (!change.isNew)
            continue;
        const auto index = rows_.indexOf(identity);
        if (!index)
            continue;
        rows_.remove(*index);
        if (static_cast<long>(*index) < index_)
            --index_;
    }
    pending_.clear();
    index_ = std::min(index_, rowCount());
    emit FieldsChanged();
}

void Recordset::requireWhole() const {
    if (hasCurrent() && rows_.isCut(static_cast<size_t>(index_)))
        raiseError(ErrorNumber::PermissionDenied, StoreText::recordTooLong());
}

void Recordset::Delete() {
    requireCurrent();
    requireWhole();
    const size_t index = static_cast<size_t>(index_);
    const uint32_t identity = rows_.identity(index);
    const auto change = pending_.find(identity);
    const bool isNew = change != pending_.end() && change->second.isNew;
    if (!isNew)
        connection_->deleteRecord(rows_.raw(index));
    if (change != pending_.end())
        pending_.erase(change);
    rows_.remove(index);
    currentDeleted_ = true;
}

void Recordset::Requery() {
    requireOpen();
    RowTable rows(shownValueLimit);
    connection_->readAll(rows);
    rows_ = std::move(rows);
    pending_.clear();
    moveTo(0);
}

Value Recordset::currentValue(size_t index, int field) const {
    const auto change = pending_.find(rows_.identity(index));
    if (change != pending_.end()) {
        if (const auto &typed = change->second.fields[static_cast<size_t>(field)])
            return *typed;
    }
    return rows_.value(index, field);
}

QString Recordset::fieldText(int field) const {
    requireCurrent();
    return currentValue(static_cast<size_t>(index_), field).value_or(QString());
}

QString Recordset::fieldTextAt(long position, int field) const {
    return currentValue(static_cast<size_t>(position - 1), field).value_or(QString());
}

void Recordset::setFieldText(int field, const QString &text) {
    requireCurrent();
    const size_t index = static_cast<size_t>(index_);
    // An empty box is no value.
    const Value value = text.isEmpty() ? Value() : Value(text);
    Pending &change = pending_[rows_.identity(index)];
    if (!change.isNew && rows_.value(index, field) == value)
        change.fields[static_cast<size_t>(field)].reset();
    else
        change.fields[static_cast<size_t>(field)] = value;
    if (!change.isNew && !change.touched())
        pending_.erase(rows_.identity(index));
}

bool Recordset::hasChanges() const {
    for (const auto &[identity, change] : pending_) {
        if (change.touched())
            return true;
    }
    return false;
}
