#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

#include "platform/gl/ShaderProgram.h"
#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"
#include "sim/FragmentProgram.h"
#include "sim/GpuLbmSimulator.h"
#include "sim/ProgramBinding.h"
#include "tests/gl/HeadlessGl.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// A working folder of its own with a "cg/" copy that tests may spoil.
class ScratchPrograms {
public:
    ScratchPrograms() : previous(fs::current_path())
    {
        fs::copy(fs::path(EDDYRA_SOURCE_DIR) / "cg", folder.path / "cg");
        fs::current_path(folder.path);
    }
    ~ScratchPrograms() { fs::current_path(previous); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(folder.path / "cg" / name) << text; }
    void Remove(const std::string& name) { fs::remove(folder.path / "cg" / name); }
    fs::path Path(const std::string& name) const { return folder.path / "cg" / name; }

private:
    TempFolder folder{"eddyra-gl"};
    fs::path previous;
};

using ShaderLayer = HeadlessGl;

}  // namespace

TEST_F(ShaderLayer, ErrorsReachTheHandlerWithTheirListing)
{
    ShaderContext* context = CurrentShaderContext();
    ASSERT_NE(context, nullptr);
    context->RaiseError(ShaderError::InvalidProgram);
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].caption, std::string("CG error: ") + ShaderErrorString(ShaderError::InvalidProgram));
    EXPECT_EQ(messages.reports[0].text, "NULL");
    EXPECT_EQ(context->GetError(), ShaderError::InvalidProgram);
    EXPECT_EQ(context->GetError(), ShaderError::NoError) << "reading the error clears it";

    FragmentProgram broken(CurrentFragmentProfile());
    ScratchPrograms scratch;
    scratch.Write("broken.cg", "void main()\n{\n    gl_FragColor = undefinedThing;\n}\n");
    EXPECT_FALSE(broken.Load("cg/broken.cg", "main"));
    ASSERT_EQ(messages.reports.size(), 2u);
    EXPECT_EQ(messages.reports[1].caption.rfind("CG error: ", 0), 0u);
    EXPECT_NE(messages.reports[1].text.find("undefinedThing"), std::string::npos) << messages.reports[1].text;
    EXPECT_NE(messages.reports[1].text.find("cg/broken.cg"), std::string::npos);
    // Line numbers in the listing are those of the file (the error is on line 3).
    EXPECT_NE(messages.reports[1].text.find("3"), std::string::npos);
    EXPECT_FALSE(broken.IsLoaded());
    {
        ProgramBinding binding(broken);  // binds nothing, reports nothing
        EXPECT_FALSE(binding.Bound());
    }
    broken.SetParameter("anything", 1.0f);
    EXPECT_EQ(messages.reports.size(), 2u);
}

TEST_F(ShaderLayer, ParametersAreSetByNameAndMissingOnesSkipped)
{
    ScratchPrograms scratch;
    scratch.Write("params.cg", "uniform vec3 colour;\nuniform float gain;\n"
                               "void main() { gl_FragColor = vec4(colour * gain, 1.0); }\n");
    FragmentProgram program(CurrentFragmentProfile());
    ASSERT_TRUE(program.Load("cg/params.cg", "main"));
    program.SetParameter("colour", 0.25f, 0.5f, 1.0f);
    program.SetParameter("gain", 2.0f);
    program.SetParameter("noSuchParameter", 1.0f, 2.0f);
    EXPECT_TRUE(messages.reports.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const GLuint id = program.Program()->GlProgram();
    GLfloat colour[3] = {};
    glGetUniformfv(id, glGetUniformLocation(id, "colour"), colour);
    EXPECT_EQ(colour[1], 0.5f);
    GLfloat gain = 0;
    glGetUniformfv(id, glGetUniformLocation(id, "gain"), &gain);
    EXPECT_EQ(gain, 2.0f);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0) << "setting a parameter leaves the bound program alone";

    // Loading again replaces the first program.
    ASSERT_TRUE(program.Load("cg/params.cg", "main"));
    EXPECT_NE(program.Program()->GlProgram(), id);
    EXPECT_FALSE(glIsProgram(id));

    // A byte-order mark in front of the text is not the compiler's business.
    scratch.Write("bom.cg", "\xEF\xBB\xBFvoid main() { gl_FragColor = vec4(1.0); }\r\n");
    EXPECT_TRUE(program.Load("cg/bom.cg", "main"));

    // An entry other than "main" is mapped onto it.
    scratch.Write("entry.cg", "void paint() { gl_FragColor = vec4(1.0); }\n");
    EXPECT_TRUE(program.Load("cg/entry.cg", "paint"));
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(ShaderLayer, ProgramBindingUnbindsWhenLeftThroughAnException)
{
    FragmentProgram program(CurrentFragmentProfile());
    ASSERT_TRUE(program.Load("cg/fill_frag.cg", "main"));
    try {
        ProgramBinding binding(program);
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(static_cast<GLuint>(current), program.Program()->GlProgram());
        throw std::runtime_error("leave early");
    } catch (const std::runtime_error&) {
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(ShaderLayer, AllProgramFilesCompile)
{
    for (const char* name : {"stream_frag.cg", "collide_frag.cg", "fill_frag.cg", "wall_frag.cg",
                             "wallEllipse_frag.cg", "velRender_frag.cg", "densityRender_frag.cg", "vel2hsl_frag.cg",
                             "vorticityRender_frag.cg", "speedRender_frag.cg", "vel2vorticity_frag.cg",
                             "vel2speed_frag.cg", "vel2density_frag.cg"}) {
        FragmentProgram program(CurrentFragmentProfile());
        EXPECT_TRUE(program.Load(std::string("cg/") + name, "main")) << name;
        // The oldest profile the programs are written for compiles them too.
        FragmentProgram old(120);
        EXPECT_TRUE(old.Load(std::string("cg/") + name, "main")) << name << " for GLSL 1.20";
    }
    EXPECT_TRUE(messages.reports.empty()) << messages.reports[0].text;
}

TEST_F(ShaderLayer, AFifoInPlaceOfAProgramFileIsRefusedWithoutWaiting)
{
    ScratchPrograms scratch;
    scratch.Remove("wall_frag.cg");
    ASSERT_EQ(mkfifo(scratch.Path("wall_frag.cg").c_str(), 0600), 0);
    EXPECT_EQ(ShaderProgram::CreateFromFile(*CurrentShaderContext(), "cg/wall_frag.cg", CurrentFragmentProfile(),
                                            "main", {}),
              nullptr);
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].caption, std::string("CG error: ") + ShaderErrorString(ShaderError::FileReadError));
}

TEST_F(ShaderLayer, MissingAndBrokenProgramFilesAreReportedOnceAndTheSolverGoesOn)
{
    ScratchPrograms scratch;
    scratch.Remove("wall_frag.cg");
    scratch.Write("collide_frag.cg", "void main() { gl_FragData[0] = vec4(; }\n");
    GpuLbmSimulator gpu(24, 12);
    ASSERT_EQ(messages.reports.size(), 2u);
    EXPECT_EQ(messages.reports[0].caption, std::string("CG error: ") + ShaderErrorString(ShaderError::CompileError));
    EXPECT_NE(messages.reports[0].text.find("collide_frag.cg"), std::string::npos);
    EXPECT_EQ(messages.reports[1].caption, std::string("CG error: ") + ShaderErrorString(ShaderError::FileReadError));
    EXPECT_NE(messages.reports[1].text.find("wall_frag.cg"), std::string::npos);

    gpu.AddObstacle({0, 5, 5, 3, 3});
    gpu.SetViscosity(0.05f);
    gpu.SetBoundaryVelocity(0.1f, 0.0f);
    gpu.ResetFlow(0.1f, 0.0f);
    gpu.Step(4);
    gpu.RenderVelocity(1.0f, {0, 24, 0, 12});
    std::vector<float> cells(24 * 12 * 9);
    EXPECT_TRUE(gpu.FetchGridState(cells.data(), 24 * 12 * 36));
    EXPECT_EQ(messages.reports.size(), 2u) << "nothing is reported again while the solver runs";

    scratch.Write("vel2hsl_frag.cg", "this is not a program\n");
    CpuLbmSimulator cpu(24, 12, std::make_unique<CpuRenderResources>());
    cpu.ResetFlow(0.1f, 0.0f);
    cpu.RenderVelocity(1.0f, {0, 24, 0, 12});
    cpu.RenderVelocity(1.0f, {0, 24, 0, 12});
    ASSERT_EQ(messages.reports.size(), 3u);
    EXPECT_EQ(messages.reports[2].caption.rfind("CG error: ", 0), 0u);
    EXPECT_NE(messages.reports[2].text.find("vel2hsl_frag.cg"), std::string::npos);
}
