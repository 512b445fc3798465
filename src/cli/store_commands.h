#pragma once

#include <QStringList>

// phrasora-cli commands over the archive store and the placeholders. Each
// takes the arguments after its name and returns the process exit code.
int CmdDump(const QStringList& args);
int CmdCheck(const QStringList& args);
int CmdResave(const QStringList& args);
int CmdExpand(const QStringList& args);

extern const char* const DumpUsage;
extern const char* const CheckUsage;
extern const char* const ResaveUsage;
extern const char* const ExpandUsage;

// Output helpers shared by the commands.
void PrintOut(const QByteArray& text);
void PrintErr(const QByteArray& text);
// True when the arguments ask for help.
bool WantsHelp(const QStringList& args);
// Prints a usage text to stderr and returns the usage-error exit code 2.
int UsageError(const char* usage, const QString& problem = {});
