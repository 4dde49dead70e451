#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

// A dialog's closing buttons as every dialog here lays them out: at the right end of a row, the
// button that accepts (the default button) and after it the one that backs out. Each caption is
// a resource string, shown now and again whenever the form is localised.
struct DialogButtonRow
{
    struct Button
    {
        // Empty: the button keeps no name of its own.
        const char *objectName;
        int captionId;
    };

    // The buttons are children of parent; the row belongs to no layout yet.
    DialogButtonRow(QWidget *parent, Button acceptButton, Button rejectButton);

    QHBoxLayout *row;
    QPushButton *accept;
    QPushButton *reject;
};
