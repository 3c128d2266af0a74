// Registers the in-place value editors of the modules that are built, once
// per process.  Called before the first editor window opens.
#pragma once

void InstallEditors();
