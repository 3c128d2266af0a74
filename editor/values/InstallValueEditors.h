// Registers the value-cell editors of the scalar and property-set kinds
// with the list view (see editor/CValueEditor.h).
#pragma once

void InstallValueEditors();
