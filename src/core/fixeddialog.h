#pragma once

class QDialog;

// Gives a dialog the frame of a fixed dialog: a title bar with the close button alone (no
// minimise, maximise or help button) and a size the user cannot change. A dialog sized in code
// keeps that size (grown to what its contents need); one sized by its layout follows the
// layout. Called at the end of the constructor, before the dialog is shown.
void makeFixedDialog(QDialog *dialog);
