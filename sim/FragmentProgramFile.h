// Where a fragment program's file is read from.
#pragma once

#include <string>

// A relative name ("cg/stream_frag.cg") is read from the working folder
// when it is there, so that a study can bring programs of its own; else
// from the data folder of an installed program, found from the program's
// own location so that an installed tree may move.  The name comes back
// unchanged when neither has it, and the error names what was asked for.
std::string FindFragmentProgramFile(const std::string& name);
