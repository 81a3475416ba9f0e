#pragma once

#include "contacts/contactfields.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <optional>

// The CSV files of contacts we know by their headers: ORVANEL's own export, Google
// Contacts (old and new), Outlook (in English and the languages outlookLanguages
// knows) and Thunderbird.

// The headers of a file, found by name whatever their case.
class Header {
public:
    explicit Header(const QStringList &names) : names_(names) {
        for (qsizetype i = 0; i < names.size(); ++i)
            index_.insert(names[i].trimmed().toLower(), int(i));
    }
    bool has(const QString &name) const { return indexOf(name) >= 0; }
    int indexOf(const QString &name) const {
        // Rows ask for the same few names again and again.
        const auto known = asked_.constFind(name);
        if (known != asked_.cend())
            return *known;
        return *asked_.insert(name, index_.value(name.toLower(), -1));
    }
    qsizetype size() const { return names_.size(); }
    const QStringList &names() const { return names_; }

private:
    QStringList names_;
    QHash<QString, int> index_;
    mutable QHash<QString, int> asked_;
};

// One record, its fields found by their headers.
class Row {
public:
    Row(const Header &header, const QStringList &fields) : header_(header), fields_(fields) {}

    bool has(const QString &name) const { return header_.has(name); }
    // The field under this header, blanks taken off; empty when there is none.
    QString operator[](const QString &name) const {
        const int at = header_.indexOf(name);
        return at >= 0 && at < fields_.size() ? fields_[at].trimmed() : QString();
    }
    // The first of these fields that is not empty.
    QString firstOf(std::initializer_list<QString> names) const {
        for (const QString &name : names) {
            if (QString value = (*this)[name]; !value.isEmpty())
                return value;
        }
        return {};
    }

private:
    const Header &header_;
    const QStringList &fields_;
};

using Reading = std::function<Values(const Row &)>;

// How to read a file with these headers; nothing when they are of no set we know.
std::optional<Reading> readingFor(const Header &header);
