#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Runs `step` once the next modal dialog is up: a zero-delay timer fires in
// the dialog's own event loop. The step gets the dialog and does what the
// user would (fill fields, click a button).
template <typename Dialog = QDialog> void WhenShown(std::function<void(Dialog&)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog is showing";
            return;
        }
        step(*static_cast<Dialog*>(dialog));
        // A step that forgets to close the dialog must not hang the run.
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the step left the dialog open";
            dialog->reject();
        }
    });
}

// Saves a picture of a widget for looking at the layout, when
// PHRASORA_SCREENSHOTS names a folder.
inline void Screenshot(QWidget& widget, const char* name) {
    const QString folder = qEnvironmentVariable("PHRASORA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(folder + QLatin1Char('/') + QLatin1String(name) +
                           QStringLiteral(".png"));
}
