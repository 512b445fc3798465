#pragma once

#include <QString>

// The program folder holds lang/, help/ and the sample archive. It is the
// installed data folder (<prefix>/share/phrasora) for an installed program,
// the folder of the executable in a build tree, or the folder named by the
// environment variable PHRASORA_PROGRAM_DIR (used by tests). The result always
// ends with a '/'.
QString ProgramFolder();

// Full path of the running executable (empty if it cannot be determined).
QString ProgramFilePath();
