#pragma once

#include <QString>
#include <QStringList>

// The process entry: decides whether this start is the first one. The first builds the frame
// behind the splash and runs the event loop; a later one hands its command line to the running
// frame and ends.
int runApplication(int &argc, char **argv);

// Sets the application's names, so that the per-user folders are Quarvel's.
void initApplicationIdentity();

// The command line as one text: the arguments after the program name, joined by blanks.
QString commandLineOf(const QStringList &arguments);
// Starts loading the page the first tab will show, when that is known before the frame exists.
void prepareFirstPage(const QString &commandLine);

// The program's arguments as given to main, before any application object exists.
QStringList argumentsOf(int argc, char **argv);
