#include <epoxy/gl.h>

#include "platform/gl/ShaderProgram.h"

#include <cctype>
#include <cstdint>

#include "platform/files/ReadRegularFile.h"

namespace {

// Fragment programs are a few kilobytes; anything near this is not one.
constexpr size_t kMaxProgramFileBytes = 16u << 20;

std::string ShaderLog(GLuint shader)
{
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        glGetShaderInfoLog(shader, length, nullptr, log.data());
    while (!log.empty() && log.back() == '\0')
        log.pop_back();
    return log;
}

std::string ProgramLog(GLuint program)
{
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        glGetProgramInfoLog(program, length, nullptr, log.data());
    while (!log.empty() && log.back() == '\0')
        log.pop_back();
    return log;
}

bool IsSampler(GLenum type)
{
    switch (type) {
    case GL_SAMPLER_1D: case GL_SAMPLER_2D: case GL_SAMPLER_3D: case GL_SAMPLER_CUBE:
    case GL_SAMPLER_2D_RECT: case GL_SAMPLER_2D_RECT_SHADOW: case GL_SAMPLER_2D_SHADOW:
        return true;
    default:
        return false;
    }
}

// "hueWheel3" -> 3; "lattice[1]" arrays are not used by the programs.
int UnitFromName(const std::string& name)
{
    size_t end = name.size();
    size_t begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(name[begin - 1])))
        --begin;
    if (begin == end || end - begin > 2)
        return 0;
    return std::stoi(name.substr(begin));
}

}  // namespace

std::unique_ptr<ShaderProgram> ShaderProgram::CreateFromFile(ShaderContext& context, const std::string& fileName,
                                                             ShaderProfile profile, const std::string& entry,
                                                             const std::vector<std::string>& options)
{
    if (profile == kProfileUnknown || profile < 110) {
        context.RaiseError(ShaderError::InvalidProfile, fileName + ": no profile to compile for");
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!ReadRegularFile(fileName, kMaxProgramFileBytes, bytes).empty()) {
        context.RaiseError(ShaderError::FileReadError, fileName + ": cannot open the file");
        return nullptr;
    }
    std::string source(bytes.begin(), bytes.end());

    // Editors on some systems start a UTF-8 file with a byte-order mark,
    // which the GLSL compiler rejects.
    if (source.compare(0, 3, "\xEF\xBB\xBF") == 0)
        source.erase(0, 3);

    std::string prologue = ShaderContext::VersionLine(profile);
    for (const std::string& option : options) {
        if (option.size() < 3 || option.compare(0, 2, "-D") != 0) {
            context.RaiseError(ShaderError::InvalidOption, fileName + ": unknown option \"" + option + "\"");
            return nullptr;
        }
        std::string definition = option.substr(2);
        const size_t eq = definition.find('=');
        if (eq != std::string::npos)
            definition[eq] = ' ';
        prologue += "#define " + definition + "\n";
    }
    // GLSL always enters at main; another entry name is mapped onto it.
    if (!entry.empty() && entry != "main")
        prologue += "#define " + entry + " main\n";
    // Keep the compiler's line numbers those of the file.
    prologue += "#line 1\n";

    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    const char* parts[2] = {prologue.c_str(), source.c_str()};
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        std::string listing = fileName + ":\n" + ShaderLog(shader);
        glDeleteShader(shader);
        context.RaiseError(ShaderError::CompileError, std::move(listing));
        return nullptr;
    }
    return std::unique_ptr<ShaderProgram>(new ShaderProgram(context, shader));
}

ShaderProgram::~ShaderProgram()
{
    if (program != 0)
        glDeleteProgram(program);
    if (shader != 0)
        glDeleteShader(shader);
}

bool ShaderProgram::Load()
{
    if (program != 0)
        return true;
    if (shader == 0) {
        context.RaiseError(ShaderError::InvalidProgram);
        return false;
    }
    const GLuint p = glCreateProgram();
    glAttachShader(p, shader);
    glLinkProgram(p);
    GLint ok = GL_FALSE;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        std::string listing = ProgramLog(p);
        glDeleteProgram(p);
        context.RaiseError(ShaderError::LinkError, std::move(listing));
        return false;
    }
    program = p;

    // Point every sampler at its unit once; the values stay with the program.
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        if (!IsSampler(type))
            continue;
        const GLint location = glGetUniformLocation(program, name);
        const int unit = UnitFromName(name);
        WithProgramCurrent([&] { glUniform1i(location, unit); });
    }
    return true;
}

void ShaderProgram::Bind() const { glUseProgram(program); }

void ShaderProgram::Unbind() { glUseProgram(0); }

int ShaderProgram::ParameterLocation(const char* name) const
{
    if (program == 0)
        return -1;
    return glGetUniformLocation(program, name);
}

template <typename SetFn>
void ShaderProgram::WithProgramCurrent(SetFn set) const
{
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    if (static_cast<GLuint>(previous) == program) {
        set();
        return;
    }
    glUseProgram(program);
    set();
    glUseProgram(static_cast<GLuint>(previous));
}

void ShaderProgram::SetParameter(const char* name, float x) const
{
    const int location = ParameterLocation(name);
    if (location >= 0)
        WithProgramCurrent([&] { glUniform1f(location, x); });
}

void ShaderProgram::SetParameter(const char* name, float x, float y) const
{
    const int location = ParameterLocation(name);
    if (location >= 0)
        WithProgramCurrent([&] { glUniform2f(location, x, y); });
}

void ShaderProgram::SetParameter(const char* name, float x, float y, float z) const
{
    const int location = ParameterLocation(name);
    if (location >= 0)
        WithProgramCurrent([&] { glUniform3f(location, x, y, z); });
}
