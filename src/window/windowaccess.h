#ifndef WINDOWACCESS_H
#define WINDOWACCESS_H

#include <QString>

class QFrame;
class QLabel;
class QTextEdit;
class QWidget;

namespace Ui {
class UpdateWindow;
}

/// What makes the update window usable by keyboard alone and by a screen
/// reader, kept beside the form rather than in it.
namespace WindowAccess {

/// Focus on "Update", Tab order, Enter and Space on buttons, Esc as the
/// close button, the focus mark, and a name for every control.
void setUp(QFrame *window, Ui::UpdateWindow *ui);

/// Shows \a text in \a label, elided with "…" when it is wider than the
/// label, the whole text then in its tooltip and accessible name.
void setElidedText(QLabel *label, const QString &text);

/// Whether Esc closes \a window; off while a question over it takes Esc.
void setEscapeCloses(QWidget *window, bool closes);

/// Asks a screen reader to read out the notes box, where a failure or what
/// the update waits for was just added, though the focus is elsewhere. The box reports the text it gained
/// itself, as the progress bar reports its value.
void alertToNotes(QTextEdit *notes);

} // namespace WindowAccess

#endif // WINDOWACCESS_H
