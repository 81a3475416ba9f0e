#pragma once

// The data folder at start: made on the first start, with an empty phone book in it so
// that the phone book opens on a new install; and the diary and phone book that an older
// build kept in its own folder offered for copying into it.
void prepareDataFolder();
