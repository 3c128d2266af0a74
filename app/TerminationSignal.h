// SIGTERM, SIGINT and SIGHUP close the main window the ordinary way, so
// that a program stopped from its terminal or a script still saves its
// parameters; a study without a window stops between steps, so that the
// file being written lands whole and no temporary file is left behind.
#pragma once

class QWidget;

void CloseOnTerminationSignals(QWidget* window);

// Notes the first of these signals for TerminationSignalReceived; a second
// one ends the process at once, for a run that does not come to a stop.  A
// signal the process was started with ignored stays ignored.
void NoteTerminationSignals();
// The signal noted, or 0 while none has come.
int TerminationSignalReceived();
