// Registers the value-cell editors of the two spline kinds with the list
// view (see editor/CValueEditor.h).
#pragma once

void InstallSplineEditors();
