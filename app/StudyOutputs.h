// The outputs of a study at a step: the raw dump, VTK image data, a NumPy
// array, the picture and the saved state, named with "{step}".  What needs
// the simulator or its drawing context happens between steps; encoding and
// writing go on beside the next steps, one set at a time, so that a run
// pays little more than the read-back for its outputs.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/ReportedMessages.h"
#include "sim/LbmSimulator.h"
#include "sim/StateFile.h"
#include "sim/ViewModes.h"

struct OutputNames {
    std::string dump, vtk, npy, png, saveState;  // empty: not written
    int pngScale = 1;
    int digits = 1;  // width of {step}
};

// Why a lattice with a value that is not finite cannot go on, or an empty
// string for a sound one.
std::string BlownUpReason(const std::vector<LatticeCell>& cells, int width, int64_t step);
// The same for a simulator of width x height, asked where its lattice lies;
// the lattice is read back only to name the cell of a flow that blew up.
std::string BlownUpReason(LbmSimulator& simulator, int width, int height, int64_t step);

struct OutputSet;

class StudyOutputs {
public:
    explicit StudyOutputs(OutputNames names);
    // Waits for the set being written.
    ~StudyOutputs();
    StudyOutputs(const StudyOutputs&) = delete;
    StudyOutputs& operator=(const StudyOutputs&) = delete;

    // Starts writing the outputs of the simulator at run.step; run holds
    // the grid and the run's parameters.  Returns the failure of the set
    // before, or of this one's preparation (a flow that blew up, a picture
    // the drawing layer complained about in messages).
    std::string Write(LbmSimulator& simulator, const SimulationState& run, const ViewSettings& view,
                      const ReportedMessages& messages);
    // Waits for the set being written; its failure, or an empty string.
    std::string Finish();
    // Finish, then puts the names of every file written so far on disk
    // (their contents are there already).  The destructor closes too.
    std::string Close();

private:
    OutputNames names;
    // The set being written, or the last one, whose buffers the next reuses.
    std::unique_ptr<OutputSet> set;
    std::future<std::string> writing;
    std::set<std::string> folders;  // of the files written since the last Close
};
