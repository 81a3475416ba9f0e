#pragma once

#include "contacts/contactfields.h"

class ContactLines;

// Reads every card of a vCard file of version 2.1, 3.0 or 4.0 into contacts of the
// phone book: FN (or N, or ORG) to NAME, the first ADR to ADDRESS, CITY, STATE, PINCODE
// and COUNTRY, the first two TEL to PHONE and OPTIONALPHONE (a preferred number first,
// then a mobile one, then the others in their order, a fax or pager last), the first EMAIL to
// EMAIL, BDAY to DATEOFBIRTH, and our own X-ORVANEL-SERIAL-NUMBER to SERIAL NUMBER. A card that
// cannot be taken is refused with its reason; a file that is not whole (a card without its END)
// fails with a RuntimeError when that is found.
void readVCards(ContactLines &lines, ContactReading &reading, const ContactSink &sink);

// The name of our own property that carries a record's serial number.
inline constexpr const char *serialNumberProperty = "X-ORVANEL-SERIAL-NUMBER";
