#pragma once

#include <QString>

// The per-user settings store: text values addressed by application, section and key,
// matched without regard to letter case. Each application is an INI file in the
// store's folder under the XDG config folder.

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = {});

// The first write to a file in a run checks that the store can keep the value; when it
// cannot (the folder is a file, or read-only) the user is told, once a run.
void SaveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value);

// A stored number; the default when the value is absent or is not a number (the files
// can be edited by hand).
double GetNumberSetting(const QString &application, const QString &section, const QString &key,
                        double defaultValue);

// A number as the store keeps it: its shortest decimal text ("1000", "9690", "1").
QString settingNumberText(double value);

// The folder that holds the store's files: $XDG_CONFIG_HOME/orvanel, or
// ~/.config/orvanel when that is not set.
QString settingsFolder();

// Writes every pending change to disk and forgets the open files and what was told about
// them, as the end of a run does: the next use reads the folder again (after
// XDG_CONFIG_HOME changed, or before another process reads).
void flushSettings();
