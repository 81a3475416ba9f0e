#pragma once

#include "contacts/contactfields.h"

class ContactLines;

// Reads a CSV file of contacts: fields quoted as RFC 4180 quotes them (line breaks may
// stand inside quotes), separated by commas, semicolons or tabs, with a first line of
// headers as Google Contacts (old and new), Outlook, Thunderbird or ORVANEL's own export
// write them. Each line is UTF-8, or Windows-1252 when it is not UTF-8; ContactLines
// has already turned UTF-16 into UTF-8. A header it does not know fails with a
// RuntimeError before any contact is read; a quote that never closes, when it is found.
void readCsv(ContactLines &lines, ContactReading &reading, const ContactSink &sink);
