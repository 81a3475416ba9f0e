#pragma once

#include <QDate>
#include <QString>
#include <optional>

class frmDocument;

// Where diary entries live and how a window's title names its file.

// The folder "Diary" in the data folder.
QString diaryFolder();

// ".DIA", the ending of an entry's file.
QString entryFileExtension();

// Whether `path` names a file inside the diary folder, also once links are followed.
bool isInDiaryFolder(const QString &path);

// The file a window's entry is written to: its own file, or the diary folder's file
// named after its title.
QString entryFile(const frmDocument &document);

// The title of a new entry: "Diary " and the date as month-day-year, 12-06-2026.
QString entryNameFor(const QDate &day);
// The day a name gives as month-day-year ("Diary 12-06-2026.DIA", and also a copy's
// "Diary 12-06-2026 (2).DIA"); nothing when it gives none.
std::optional<QDate> dayInName(const QString &name);

enum class SaveOutcome {
    Saved,
    NotSaved,
    // The user would not replace a file this window does not know as it is: the entry
    // wants another name.
    ReplaceDeclined,
};

// Writes the entry to its file: the file it belongs to, or the diary folder under its
// title. A missing diary folder is offered to be created; a file this window did not
// last read or write as it is now is replaced only when the user says so; any other
// failure is told. Sets the saved flag when the entry was written.
SaveOutcome saveEntry(frmDocument &document);

// Loads a file into the window and gives the window its title: the entry name for a
// file in the diary folder, the full path otherwise. A file that cannot be read or is
// not rich text is told and leaves the window as it was.
void openEntry(frmDocument &document, const QString &path);

// Writes the entry to the chosen path and, once it is there, gives the window that path
// as its title and file, and returns true. A failure is told and leaves the window as it
// was.
bool saveEntryAs(frmDocument &document, const QString &path);
