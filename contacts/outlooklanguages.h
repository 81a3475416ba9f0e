#pragma once

#include <QStringList>
#include <optional>

// Outlook writes the headers of its CSV export in the language it runs in. These are the
// header sets of German, French, Spanish, Italian, Dutch and Brazilian Portuguese
// Outlook, as far as a phone book needs them: names, phones, e-mail addresses, postal
// addresses and the birthday.

// The English names of a header line of Outlook in one of those languages, each header
// of that language put in English and any other left as it is; nothing for a header line
// that holds no language's first and last name columns.
std::optional<QStringList> outlookHeadersInEnglish(const QStringList &names);

// The languages whose headers are read, for telling the user.
QString outlookLanguageList();
