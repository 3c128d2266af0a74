#include "app/StudyOutputs.h"

#include <memory>
#include <new>
#include <set>
#include <utility>

#include <QImage>

#include "app/FieldFiles.h"
#include "app/FlowPicture.h"
#include "app/StateFiles.h"
#include "app/StepFileName.h"
#include "app/VelocityDump.h"
#include "sim/Checkpoint.h"

// One step's outputs, taken from the simulator and ready to be written
// without it.  The next step's set reuses its buffers.
struct OutputSet {
    SimulationState state;  // the lattice and the run's parameters
    std::vector<std::pair<FieldFormat, std::string>> fields;
    std::vector<float> field;  // (ux, uy, rho) per cell, for the field files
    bool fieldFromState = false;  // field still to be computed from state.cells
    QImage picture;
    std::string picturePath;
    std::string statePath;
};

namespace {

std::string Failed(const std::string& path, const std::string& why)
{
    return why.empty() ? why : "cannot write \"" + path + "\": " + why;
}

// Encodes and writes a set; an empty string, or the first failure.  The
// folders are synced once, when the study closes: a sync of a folder per
// file cost more than all the encoding.
std::string WriteOutputSet(OutputSet& set)
{
    AtomicWriteOptions deferred;
    deferred.syncFolder = false;
    try {
        if (set.fieldFromState) {
            set.field.resize(set.state.cells.size() * 3);
            ComputeVelocityField(set.state.cells.data(), set.state.cells.size(), set.field.data());
        }
        if (!set.fields.empty()) {
            for (const auto& [format, path] : set.fields)
                if (std::string why =
                        Failed(path, WriteFieldFile(format, path, set.field, set.state.width, set.state.height, deferred));
                    !why.empty())
                    return why;
        }
        if (!set.picturePath.empty())
            if (std::string why = Failed(set.picturePath, WritePngFile(set.picturePath, set.picture, deferred)); !why.empty())
                return why;
        if (!set.statePath.empty())
            if (std::string why = Failed(set.statePath, SaveStateFile(set.statePath, set.state, deferred)); !why.empty())
                return why;
    } catch (const std::bad_alloc&) {
        return "not enough memory to write the outputs of step " + std::to_string(set.state.step);
    }
    return {};
}
}  // namespace

std::string BlownUpReason(const std::vector<LatticeCell>& cells, int width, int64_t step)
{
    const size_t n = FirstBlownUpCell(cells);
    if (n == cells.size())
        return {};
    return "the flow blew up by step " + std::to_string(step) + ": cell (" +
           std::to_string(n % static_cast<size_t>(width)) + ", " + std::to_string(n / static_cast<size_t>(width)) +
           ") holds a value that is not a finite number or far beyond any flow (a lower runtime|invViscosity, a slower inflow or "
           "runtime|collision=Smagorinsky may keep it stable)";
}

std::string BlownUpReason(LbmSimulator& simulator, int width, int height, int64_t step)
{
    if (!simulator.BlownUp())
        return {};
    std::vector<LatticeCell> cells;
    if (!FetchLattice(simulator, width, height, cells))
        return "the simulator refused its lattice";
    return BlownUpReason(cells, width, step);
}

StudyOutputs::StudyOutputs(OutputNames names) : names(std::move(names)) {}

StudyOutputs::~StudyOutputs() { Close(); }

std::string StudyOutputs::Write(LbmSimulator& simulator, const SimulationState& run, const ViewSettings& view,
                                const ReportedMessages& messages)
{
    // The set before is done long before the next one is due; waiting for
    // it keeps at most one set in memory and reports its failure now.
    if (std::string why = Finish(); !why.empty())
        return why;
    if (!set)
        set = std::make_unique<OutputSet>();
    std::vector<LatticeCell> cells = std::move(set->state.cells);
    set->state = run;
    set->state.cells = std::move(cells);
    set->fields.clear();
    set->picture = QImage();
    set->picturePath.clear();
    set->statePath.clear();
    // Only the state needs the whole lattice here; without it the simulator
    // tells whether the flow is sound where the lattice lies.
    if (!names.saveState.empty()) {
        if (!CaptureSimulation(simulator, set->state))
            return "the simulator refused its lattice";
        if (std::string why = BlownUpReason(set->state.cells, run.width, run.step); !why.empty())
            return why;
    } else if (std::string why = BlownUpReason(simulator, run.width, run.height, run.step); !why.empty()) {
        return why;
    }
    // A lattice read back for the state gives the field beside the next
    // steps; without one, the simulator gives it here (the processor solver
    // on its stepping threads), so the lattice is never read back twice.
    const bool anyField = !names.dump.empty() || !names.vtk.empty() || !names.npy.empty();
    set->fieldFromState = anyField && !names.saveState.empty();
    if (anyField && !set->fieldFromState && !ComputeVelocityField(simulator, run.width, run.height, set->field))
        return "the simulator refused its lattice";
    const std::pair<FieldFormat, const std::string*> fields[] = {
        {FieldFormat::RawDump, &names.dump}, {FieldFormat::Vtk, &names.vtk}, {FieldFormat::Npy, &names.npy}};
    for (const auto& [format, pattern] : fields)
        if (!pattern->empty())
            set->fields.emplace_back(format, StepFileName(*pattern, run.step, names.digits));
    if (!names.png.empty()) {
        set->picturePath = StepFileName(names.png, run.step, names.digits);
        std::string why;
        set->picture = RenderFlowPicture(simulator, run.width, run.height, names.pngScale, view, &why);
        if (set->picture.isNull())
            return Failed(set->picturePath, why);
        if (why = messages.Failure("cannot draw \"" + set->picturePath + "\""); !why.empty())
            return why;
    }
    if (!names.saveState.empty())
        set->statePath = StepFileName(names.saveState, run.step, names.digits);
    for (const auto& [format, path] : set->fields)
        folders.insert(FolderOf(path));
    for (const std::string* path : {&set->picturePath, &set->statePath})
        if (!path->empty())
            folders.insert(FolderOf(*path));
    writing = std::async(std::launch::async, [&written = *set] { return WriteOutputSet(written); });
    return {};
}

std::string StudyOutputs::Finish() { return writing.valid() ? writing.get() : std::string(); }

std::string StudyOutputs::Close()
{
    std::string why = Finish();
    for (const std::string& folder : folders)
        SyncFolder(folder);
    folders.clear();
    return why;
}
