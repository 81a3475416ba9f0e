#pragma once

// Makes a screen reader's Press and Toggle actions on a toolbar button run the button's
// command, as a click does. Qt's own Toggle of a checkable tool button only changes the
// button's look: Bold would read as pressed while the text stays plain.
void installToolbarAccessibility();
