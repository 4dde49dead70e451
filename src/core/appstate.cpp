#include "appstate.h"

#include <QApplication>

bool AppState::modalDialogOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}
