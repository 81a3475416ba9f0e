#pragma once

#include "browser/brwwebbrowser.h"

// Makes a web browser component. The first call loads the browser engine's module,
// which lives beside the program; a module that is missing or cannot load raises a
// run-time error that says so, and the rest of the program works on without it.
brwWebBrowser *createWebBrowser(QWidget *parent, brwWebBrowserEvents &events,
                                const BrowserPages &pages);

// The file name of the browser engine's module, in the modules folder.
QString webBrowserModulePath();
