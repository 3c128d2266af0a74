#include "app/HeadlessOptions.h"

#include <charconv>
#include <filesystem>
#include <memory>

#include <QCommandLineParser>

#include "app/FlowPicture.h"
#include "app/GlobalVariable.h"
#include "sim/StateFile.h"

namespace {
constexpr int64_t kMaxSteps = kMaxRunSteps;

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{"h", "help"}, "Lists these options and ends."};
    QCommandLineOption headless{"headless", "Runs without a window: builds the simulation from the parameters, "
                                            "runs the steps and writes the outputs asked for."};
    QCommandLineOption set{"set",
                           "Sets a parameter for this run (name without regard to letter case; a number, or a label "
                           "of an enumeration). May be repeated. The file \"config\" is read, never written.",
                           "NAME=VALUE"};
    QCommandLineOption preset{"preset", "Starts from a preset: poiseuille (walls along the channel) or vortex.",
                              "poiseuille|vortex"};
    QCommandLineOption obstacles{"obstacles",
                                 "Adds the obstacles of a text file: one a line, \"rect x y w h\" or "
                                 "\"ellipse x y w h\", \"#\" starts a comment.",
                                 "FILE"};
    QCommandLineOption state{"state",
                             "Continues a saved state: its grid, solver, inflow, viscosity, obstacles, lattice and "
                             "step count (a --set given too overrides its parameters).",
                             "FILE"};
    QCommandLineOption steps{"steps", "Runs N time steps (default 0).", "N"};
    QCommandLineOption every{"every", "Writes the outputs also every K steps (at steps that are multiples of K).",
                             "K"};
    QCommandLineOption dump{"dump", "Writes the raw velocity dump (ux, uy, density per cell, float32).", "FILE"};
    QCommandLineOption vtk{"vtk", "Writes VTK image data (.vti) with \"velocity\" and \"density\".", "FILE"};
    QCommandLineOption npy{"npy", "Writes a NumPy array (.npy), float32, shape (H, W, 3): ux, uy, density.", "FILE"};
    QCommandLineOption png{"png", "Writes the picture as PNG.", "FILE"};
    QCommandLineOption pngScale{"png-scale", "Pixels per cell and side of the PNG, 1 to " +
                                                 QString::number(kMaxPictureScale) + " (default 1).",
                                "S"};
    QCommandLineOption saveState{"save-state", "Saves the state, to be continued with --state.", "FILE"};

    Parser()
    {
        parser.setApplicationDescription("Eddyra: lattice-Boltzmann flow simulation. Without options it opens "
                                         "its window; with --headless it runs a study without one.");
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const QCommandLineOption* o : All())
            parser.addOption(*o);
    }
    std::vector<const QCommandLineOption*> All() const
    {
        return {&help, &headless, &set,  &preset, &obstacles, &state,    &steps,
                &every, &dump,    &vtk, &npy,    &png,       &pngScale, &saveState};
    }
};

bool ParseCount(const QString& text, int64_t minimum, int64_t maximum, int64_t& value)
{
    const std::string s = text.trimmed().toStdString();
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < minimum || v > maximum)
        return false;
    value = v;
    return true;
}

// The file a name stands for, as far as its text tells: "x", "./x" and the
// absolute path of x are one file.  Links are not followed: an output
// replaces a link rather than writing through it.
std::string FileKey(const std::string& name)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ec);
    return (ec ? std::filesystem::path(name) : absolute).lexically_normal().string();
}
}  // namespace

LaunchMode ChooseLaunchMode(const QStringList& arguments, std::string* error)
{
    Parser p;
    bool headless = false;
    QString foreign;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "-h" || a == "--help" || a == "-help")
            return LaunchMode::Help;
        if (a == "--headless" || a == "-headless")
            headless = true;
        const QString name = a.startsWith("--") ? a.mid(2).section('=', 0, 0) : QString();
        for (const QCommandLineOption* o : p.All())
            if (foreign.isEmpty() && !name.isEmpty() && o->names().contains(name))
                foreign = a.section('=', 0, 0);
    }
    if (headless)
        return LaunchMode::Headless;
    if (!foreign.isEmpty()) {
        if (error)
            *error = foreign.toStdString() + " needs --headless (Eddyra --help lists the options)";
        return LaunchMode::Misuse;
    }
    return LaunchMode::Window;
}

bool ParseHeadlessOptions(const QStringList& arguments, HeadlessOptions& options, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    Parser p;
    if (!p.parser.parse(arguments))
        return fail(p.parser.errorText().toStdString());
    if (!p.parser.positionalArguments().isEmpty())
        return fail("unexpected argument \"" + p.parser.positionalArguments().first().toStdString() + "\"");
    for (const QCommandLineOption* o : p.All()) {
        if (o != &p.set && p.parser.values(*o).size() > 1)
            return fail("--" + o->names().last().toStdString() + " is given more than once");
    }

    HeadlessOptions parsed;
    for (const QString& text : p.parser.values(p.set)) {
        ParameterAssignment assignment;
        if (!ParseParameterAssignment(text.toStdString(), assignment, error))
            return false;
        parsed.assignments.push_back(assignment);
    }
    if (p.parser.isSet(p.preset)) {
        const QString preset = p.parser.value(p.preset).trimmed().toLower();
        if (preset == "poiseuille")
            parsed.preset = Preset::Poiseuille;
        else if (preset == "vortex")
            parsed.preset = Preset::Vortex;
        else
            return fail("--preset takes poiseuille or vortex, not \"" + p.parser.value(p.preset).toStdString() + "\"");
    }
    if (p.parser.isSet(p.steps) && !ParseCount(p.parser.value(p.steps), 0, kMaxSteps, parsed.steps))
        return fail("--steps takes a whole number from 0 to " + std::to_string(kMaxSteps) + ", not \"" +
                    p.parser.value(p.steps).toStdString() + "\"");
    if (p.parser.isSet(p.every) && !ParseCount(p.parser.value(p.every), 1, kMaxSteps, parsed.every))
        return fail("--every takes a whole number from 1 to " + std::to_string(kMaxSteps) + ", not \"" +
                    p.parser.value(p.every).toStdString() + "\"");
    int64_t scale = 1;
    if (p.parser.isSet(p.pngScale) && !ParseCount(p.parser.value(p.pngScale), 1, kMaxPictureScale, scale))
        return fail("--png-scale takes a whole number from 1 to " + std::to_string(kMaxPictureScale) + ", not \"" +
                    p.parser.value(p.pngScale).toStdString() + "\"");
    parsed.pngScale = static_cast<int>(scale);

    const std::pair<const QCommandLineOption*, std::string*> files[] = {
        {&p.obstacles, &parsed.obstacles}, {&p.state, &parsed.state}, {&p.dump, &parsed.dump},
        {&p.vtk, &parsed.vtk},             {&p.npy, &parsed.npy},     {&p.png, &parsed.png},
        {&p.saveState, &parsed.saveState}};
    for (const auto& [option, file] : files) {
        if (!p.parser.isSet(*option))
            continue;
        *file = p.parser.value(*option).toStdString();
        if (file->empty())
            return fail("--" + option->names().last().toStdString() + " needs a file name");
    }

    // One output would silently replace another, or an input the run has
    // only just read; continuing a state in place is the one such use.
    const std::pair<const char*, const std::string*> outputs[] = {{"--dump", &parsed.dump},
                                                                  {"--vtk", &parsed.vtk},
                                                                  {"--npy", &parsed.npy},
                                                                  {"--png", &parsed.png},
                                                                  {"--save-state", &parsed.saveState}};
    for (size_t i = 0; i < std::size(outputs); ++i) {
        const auto& [option, file] = outputs[i];
        if (file->empty())
            continue;
        for (size_t j = i + 1; j < std::size(outputs); ++j)
            if (!outputs[j].second->empty() && FileKey(*file) == FileKey(*outputs[j].second))
                return fail(std::string(option) + " and " + outputs[j].first + " name the same file \"" + *file +
                            "\"; each output needs a file of its own");
        const std::pair<const char*, const std::string*> inputs[] = {{"--obstacles", &parsed.obstacles},
                                                                     {"--state", &parsed.state}};
        for (const auto& [input, inputFile] : inputs)
            if (!inputFile->empty() && FileKey(*file) == FileKey(*inputFile) &&
                !(file == &parsed.saveState && inputFile == &parsed.state))
                return fail(std::string(option) + " would replace \"" + *inputFile + "\", the file of " + input);
    }
    if (parsed.preset != Preset::None && !parsed.state.empty())
        return fail("--preset and --state exclude each other: a saved state brings its own obstacles");
    if (parsed.every > 0 && !parsed.AnyOutput())
        return fail("--every needs an output: --dump, --vtk, --npy, --png or --save-state");
    if (p.parser.isSet(p.pngScale) && parsed.png.empty())
        return fail("--png-scale needs --png");
    options = std::move(parsed);
    return true;
}

std::string HeadlessHelp()
{
    Parser p;
    std::string names;
    for (const GlobalVariable* v = globalVariableChain; v; v = v->GetNext())
        names = "  " + std::string(v->GetVariableName()) + " (" + v->GetDescription() + "): " + DeclaredRange(*v) +
                ", default " + DefaultText(*v) + "\n" + names;
    return p.parser.helpText().toStdString() +
           "\nIn a file name, {step} stands for the step number, padded with zeros to the width of the last "
           "step.\nProgress goes to standard error, at most one line a second.\n"
           "\nExit codes: 0 done; 1 the run failed (storage component, drawing context, an input or output file, "
           "or a flow that blew up) or was stopped by a signal; 2 a bad command line.\n\nParameters (for --set):\n" +
           names;
}
