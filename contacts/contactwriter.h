#pragma once

#include <QByteArray>
#include <functional>

class QIODevice;
class RowTable;

enum class ContactFormat { VCard3, VCard4, Csv };

// Writes every row as a contact: vCard 3.0 or 4.0 (UTF-8, CR LF, lines folded at 75
// bytes, VERSION right after BEGIN, FN and N on every card), or CSV with the phone
// book's column names as headers (UTF-8 with a byte-order mark, fields quoted as
// RFC 4180 quotes them). What the readers of this program read back is the same record.
// Returns false when the device refused a write.
// `written` is told how many rows are written, now and then; when it returns false the
// writing stops there and writeContacts returns false.
using WrittenRows = std::function<bool(qint64 written, qint64 total)>;
bool writeContacts(QIODevice &device, const RowTable &rows, ContactFormat format,
                   const WrittenRows &written = {});
