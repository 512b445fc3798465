#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's message boxes, one helper per kind, so that texts, kinds and
// help contexts live in one place. The kind sets the title and the icon.
enum class TMessageKind { Error, Warning, Information, Confirmation, Stop };

namespace Messages {

// An error box with OK; with a help context above 0 also Help, which opens
// the help page at that context.
void ShowError(QWidget* parent, const QString& text, int helpContext = 0);
void ShowWarning(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);
// Yes and No; true only for Yes (No, Escape and closing the box say no).
bool Confirm(QWidget* parent, const QString& text);
// The general error report for failures nothing else caught: a stop box
// titled "Phrasora".
void ShowStop(QWidget* parent, const QString& text);

// The title of a box of that kind, in the user's language.
QString Title(TMessageKind kind);

// Tests answer boxes without showing them: the interceptor receives every
// box and returns the answer (true for Yes/OK). An empty one restores the
// real boxes.
using Interceptor = std::function<bool(TMessageKind kind, const QString& text, int helpContext)>;
void SetInterceptor(Interceptor interceptor);

} // namespace Messages

namespace Help {

// The help file of this run (chosen once when the main window is made); an
// empty path or a missing file leaves the program without help.
void SetHelpFile(const QString& path);
QString HelpFile();
// Opens the help page at the anchor of a help context in the browser.
void Open(int helpContext);

// Tests see help requests instead of a browser.
using Interceptor = std::function<void(const QString& file, int helpContext)>;
void SetInterceptor(Interceptor interceptor);

} // namespace Help

namespace FileDialogs {

// The standard open and save dialogs. The save dialog adds the default
// suffix when none is typed and asks before overwriting.
QString GetOpenFileName(QWidget* parent, const QString& filter);
QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

// Tests answer the dialogs: the interceptor gets whether a save dialog is
// asked for and returns the chosen path (empty: cancelled).
using Interceptor = std::function<QString(bool save)>;
void SetInterceptor(Interceptor interceptor);

} // namespace FileDialogs
