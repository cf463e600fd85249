#include "shader_program.h"

#include "renderer_core.h"
#include "shader_sources.h"

namespace noxd {

namespace {

// Reads the error state, which clears it; bounded, as a lost context may
// report an error on every read.
void DropGlErrors() {
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// The sampler uniforms fed by each texture unit.
const char* const kSamplersOfUnit[4][2] = {
    {"RGBtex", "Ytex"},
    {"UVtex", "Utex"},
    {"Vtex", nullptr},
    {"Layertex", nullptr},
};

// The samplers read their units for the program's whole life.
void SetFixedUniforms(GLuint program) {
    glUseProgram(program);
    for (int unit = 0; unit < 4; ++unit) {
        for (const char* name : kSamplersOfUnit[unit]) {
            const GLint location = name ? glGetUniformLocation(program, name) : -1;
            if (location >= 0) glUniform1i(location, unit);
        }
    }
    glUseProgram(0);
}

}  // namespace

const char* ShaderSourceFor(FormatClass format_class, ColorSpaceIndex color_space) {
    if (color_space >= kColorSpaceCount) color_space = kDefaultColorSpace;
    switch (format_class) {
    case FormatClass::Bgr24:
    case FormatClass::Bgr32: return kRgbShaderSource;
    case FormatClass::Yuy2: return kPackedLumaEvenShaderSources[color_space];
    case FormatClass::I420: return kPlanarShaderSources[color_space];
    case FormatClass::Uyvy: return kPackedLumaOddShaderSources[color_space];
    case FormatClass::Nv12: return kNv12ShaderSources[color_space];
    case FormatClass::Nv21: return kNv21ShaderSources[color_space];
    }
    return kRgbShaderSource;
}

namespace {

// One program from the renderer's source, with `defines` put before it.
void BuildProgram(const RendererCore& renderer, const char* defines, GLuint& program,
                  GLuint& shader) {
    program = glCreateProgram();
    DropGlErrors();
    shader = glCreateShader(GL_FRAGMENT_SHADER);
    DropGlErrors();
    const char* sources[] = {
        defines,
        ShaderSourceFor(renderer.program_class, renderer.program_color_space)};
    glShaderSource(shader, 2, sources, nullptr);
    DropGlErrors();
    glCompileShader(shader);
    DropGlErrors();
    glAttachShader(program, shader);
    DropGlErrors();
    glLinkProgram(program);
    DropGlErrors();
    SetFixedUniforms(program);
    DropGlErrors();
}

void DeleteProgram(GLuint& program, GLuint& shader) {
    if (program && shader) glDetachShader(program, shader);
    if (shader) glDeleteShader(shader);
    if (program) glDeleteProgram(program);
    program = 0;
    shader = 0;
}

}  // namespace

void BuildShaderProgram(RendererCore& renderer) {
    BuildProgram(renderer, "", renderer.program, renderer.fragment_shader);
}

GLuint ProgramOverLayer(RendererCore& renderer) {
    LayerProgram& p = renderer.layer_program;
    if (p.program || !renderer.program) return p.program;
    BuildProgram(renderer, "#define NOXD_LAYER\n", p.program, p.fragment_shader);
    p.scale = glGetUniformLocation(p.program, "layer_scale");
    return p.program;
}

void DeleteShaderProgram(RendererCore& renderer) {
    DeleteProgram(renderer.program, renderer.fragment_shader);
    DeleteProgram(renderer.layer_program.program, renderer.layer_program.fragment_shader);
    renderer.layer_program.scale = -1;
}

void ApplyProgramRequests(RendererCore& renderer, FormatClass format_class) {
    const ColorSpaceIndex requested = renderer.requested_color_space;
    const bool other_space = IsYuv(format_class) && requested != renderer.program_color_space;
    if (!renderer.program || (format_class == renderer.program_class && !other_space)) return;
    DeleteShaderProgram(renderer);
    renderer.program_class = format_class;
    renderer.program_color_space = requested;
    BuildShaderProgram(renderer);
}

}  // namespace noxd
