#pragma once

#include <QString>

// The connection string the phone book windows open: the one stored as setting
// "PhoneBook" / "Connection" of application "ORVANEL" (a database on a server) when it
// is there and not empty, otherwise the phone book file in the data folder.
QString chosenConnectionString(const QString &dataFolder);
