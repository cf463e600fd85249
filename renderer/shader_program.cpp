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
const char* const kSamplersOfUnit[3][2] = {
    {"RGBtex", "Ytex"},
    {"UVtex", "Utex"},
    {"Vtex", nullptr},
};

// The samplers read their units for the program's whole life.
void SetFixedUniforms(GLuint program) {
    glUseProgram(program);
    for (int unit = 0; unit < 3; ++unit) {
        for (const char* name : kSamplersOfUnit[unit]) {
            const GLint location = name ? glGetUniformLocation(program, name) : -1;
            if (location >= 0) glUniform1i(location, unit);
        }
    }
    glUseProgram(0);
}

}  // namespace

const char* ShaderSourceFor(unsigned format_class, ColorSpaceIndex color_space) {
    if (color_space >= kColorSpaceCount) color_space = kDefaultColorSpace;
    switch (static_cast<FormatClass>(format_class)) {
    case FormatClass::Bgr24:
    case FormatClass::Bgr32: return kRgbShaderSource;
    case FormatClass::Yuy2: return kPackedLumaEvenShaderSources[color_space];
    case FormatClass::I420: return kPlanarShaderSources[color_space];
    case FormatClass::Uyvy: return kPackedLumaOddShaderSources[color_space];
    }
    return kRgbShaderSource;
}

void BuildShaderProgram(RendererCore& renderer) {
    renderer.program = glCreateProgram();
    DropGlErrors();
    renderer.fragment_shader = glCreateShader(GL_FRAGMENT_SHADER);
    DropGlErrors();
    const char* source =
        ShaderSourceFor(static_cast<unsigned>(renderer.format_class), renderer.program_color_space);
    glShaderSource(renderer.fragment_shader, 1, &source, nullptr);
    DropGlErrors();
    glCompileShader(renderer.fragment_shader);
    DropGlErrors();
    glAttachShader(renderer.program, renderer.fragment_shader);
    DropGlErrors();
    glLinkProgram(renderer.program);
    DropGlErrors();
    SetFixedUniforms(renderer.program);
    DropGlErrors();
}

void DeleteShaderProgram(RendererCore& renderer) {
    if (renderer.program && renderer.fragment_shader)
        glDetachShader(renderer.program, renderer.fragment_shader);
    if (renderer.fragment_shader) glDeleteShader(renderer.fragment_shader);
    if (renderer.program) glDeleteProgram(renderer.program);
    renderer.program = 0;
    renderer.fragment_shader = 0;
}

void ApplyRequestedColorSpace(RendererCore& renderer) {
    const ColorSpaceIndex requested = renderer.requested_color_space;
    if (requested == renderer.program_color_space || !renderer.program) return;
    if (renderer.format_class == FormatClass::Bgr24 || renderer.format_class == FormatClass::Bgr32)
        return;
    DeleteShaderProgram(renderer);
    renderer.program_color_space = requested;
    BuildShaderProgram(renderer);
}

}  // namespace noxd
