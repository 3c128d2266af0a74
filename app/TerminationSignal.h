// SIGTERM, SIGINT and SIGHUP close the main window the ordinary way, so
// that a program stopped from its terminal or a script still saves its
// parameters.
#pragma once

class QWidget;

void CloseOnTerminationSignals(QWidget* window);
