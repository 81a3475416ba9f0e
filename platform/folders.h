#pragma once

#include <QString>

// Where the program keeps what the user writes, and where it finds what it ships. An
// installed program's folder cannot be written, and a build folder is deleted by the next
// clean build: neither is a place for years of diary.
namespace Folders {

// The folder of the running program file.
QString program();

// Whether the program folder holds a file named `portable`: a copy that keeps the user's
// data beside it, as on a USB stick.
bool isPortable(const QString &programFolder);

// What the user writes (Diary/, ORVANEL.MDB): ORVANEL_HOME when it is set; else the
// program folder of a portable copy; else $XDG_DATA_HOME/orvanel (~/.local/share/orvanel).
QString data();

// Where an older build kept the user's data (its own folder), when this run's data folder
// is elsewhere; empty for a portable copy and when ORVANEL_HOME names the data folder.
QString olderData();

// What the program ships (the tips file, the registry hive): the installed prefix's
// share/orvanel, or the program folder of a build or a portable copy.
QString shipped();

// Where the browser engine's module lies: the installed prefix's lib/orvanel, or the
// program folder.
QString modules();

} // namespace Folders
