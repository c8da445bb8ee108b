#pragma once

#include "progsettings.h"

#include <QString>

// "ProgSett.ini": the connection settings, read at start-up and written when the main window
// closes, key by key.

// The file's path: the program's folder followed by "ProgSett.ini".
QString ProgSettingsPath();

// Creates the file empty when it is missing, then reads the four values; a missing key or a
// value that is not a number gives its default. False when the file cannot be created or read;
// the values read so far stay in settings.
bool ReadProgSettings(const QString &path, TStructSetting &settings);

// Writes the four values, creating the file when it is missing. False when it cannot be written.
bool WriteProgSettings(const QString &path, const TStructSetting &settings);
