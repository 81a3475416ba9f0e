#pragma once

#include "browser/brwwebbrowser.h"

#include <QString>

// The browser's addresses, kept in the settings store (application "ORVANEL", section
// "Browser"), each with a public default when it is not stored.

// "StartPage": where a browser window opened from the menus goes first; stored empty,
// the windows open blank.
QString browserStartPage();
// "HomePage" and "SearchPage": the component's own Home and Search.
BrowserPages browserPages();
