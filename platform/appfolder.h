#pragma once

#include <QString>

// The folder "ProgSett.ini" and "Scan.cfg" live in, with its trailing separator: the folder of
// the program's executable, or the user's configuration folder when that one is not writable.
// KKT_PROGRAM_DIR in the environment overrides both (tests, the demo script).
QString ProgramFolder();

// The program's version text, such as "1.0.0.1" (from the build).
QString ProgramVersionText();
