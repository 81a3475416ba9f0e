#pragma once

#include <QString>

// Making phone book files: what orvanel-phonebook does, and what tests and benchmarks
// set their worlds up with. The program itself makes only the empty phone book of a new
// data folder (SqliteFile::create).

// Appends `count` generated contacts to the phone book at `path`, leaving their serial
// numbers to the database. The same file with the same count gets the same contacts;
// each run goes on from the contacts already there. Returns an empty string, or why
// it failed.
QString appendSampleContacts(const QString &path, long count);

// Copies every record of one phone book into another, which must have no records, in
// one transaction, serial numbers and all. Returns an empty string and sets `copied`,
// or returns why nothing was copied.
QString copyPhoneBook(const QString &from, const QString &to, long &copied);
