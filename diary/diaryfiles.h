#pragma once

#include <QDate>
#include <QString>

class frmDocument;

// Where diary entries live and how a window's title names its file.

// The folder "Diary" in the program folder.
QString diaryFolder();

// The title of a new entry: "Diary " and the date as month-day-year, 12-06-2026.
QString entryNameFor(const QDate &day);

// Writes the entry to its file: the file it belongs to, or the diary folder under its
// title. A missing diary folder is offered to be created; any other failure is told.
// Sets the saved flag and returns true when the entry was written.
bool saveEntry(frmDocument &document);

// Loads a file into the window and gives the window its title: the entry name for a
// file in the diary folder, the full path otherwise. A file that cannot be read or is
// not rich text is told and leaves the window as it was.
void openEntry(frmDocument &document, const QString &path);

// Gives the window the chosen path as its title and file, and writes the entry there.
void saveEntryAs(frmDocument &document, const QString &path);
