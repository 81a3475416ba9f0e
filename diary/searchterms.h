#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One place where the search's words were found in a text: where it starts and how many
// characters it covers.
struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextSpan &) const = default;
};

// What the user typed in the search box, as the terms an entry must hold: each word, in
// any order; a "phrase in quotes" as its words one after another; the last word also as
// the beginning of a longer one while it is being typed. Case and accents are ignored
// both ways. Words of scripts written without spaces (Chinese, Japanese) are found by
// any run of their characters.
class SearchTerms {
public:
    static SearchTerms parse(const QString &typed);

    bool isEmpty() const { return terms_.isEmpty(); }

    // The terms as the full-text index's query: each one quoted, so that nothing the user
    // types is taken as the query language's own syntax.
    QString indexQuery() const;

    // Every place in `text` where one of the terms stands, in the order of the text.
    QList<TextSpan> spansIn(const QString &text) const;

    bool operator==(const SearchTerms &) const = default;

private:
    struct Term {
        QStringList words; // folded; more than one for a phrase
        bool prefix = false;
        bool operator==(const Term &) const = default;
    };
    QList<Term> terms_;
};

// Text as the index holds it: the characters of scripts written without spaces stand
// each as a word of its own, so that any run of them is found as a phrase.
QString indexedText(const QString &text);
