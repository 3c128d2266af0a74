// Registers the in-place value editors of every editor module, once per
// process.  Called before the first editor window opens.
#pragma once

void InstallEditors();
