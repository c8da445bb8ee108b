#pragma once

#include "tablelayout.h"

#include <QString>

struct TConfig;
class TIniDocument;

// Between the configuration record and a ".conf" file. These do the file work only; the save
// and load commands (configcommands.h) put the cursor, the wait window and the messages around
// them.

// Sets every key of the file in its fixed order: a key that exists keeps its place and gets the
// new value, a missing key goes to the end of its section, a missing section to the end of the
// document. The scanner choice is not stored.
void ConfigToIni(const TConfig &config, TIniDocument &doc);
// Reads every key in the same order; a missing key gives "Узкий" for a font and the empty text
// otherwise. The scanner choice and agent line 11 (which has no key) are left as they were.
void ConfigFromIni(const TIniDocument &doc, TConfig &config);

// Merges the record into the file at path (created when missing), read once and written once.
// On failure returns false with the system's message in errorText; the old file stays whole.
bool WriteConfigFile(const QString &path, const TConfig &config, QString *errorText = nullptr);
// Reads the file at path into the record (a missing file reads as an empty one). When an
// existing file cannot be read, returns false with the system's message and leaves the record
// as it was; so it does, without opening it, for a link to nothing and a name that is no
// regular file (a folder, a pipe, a device).
bool ReadConfigFile(const QString &path, TConfig &config, QString *errorText = nullptr);
// The reading part of it: the file into doc, refused as above.
bool ReadConfigDocument(const QString &path, TIniDocument &doc, QString *errorText = nullptr);
// Whether doc holds at least one section of the configuration; loading a file without any
// would only reset every field.
bool HoldsConfig(const TIniDocument &doc);
// The same for one table, and for the GSM parameters.
bool HoldsConfigTable(const TIniDocument &doc, TTableTab tab);
bool HoldsConfigGsm(const TIniDocument &doc);
