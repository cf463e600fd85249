// The colour-conversion program of a renderer: built once at creation from
// the source of its format class, deleted at release. GL thread only.
#pragma once

#include <GL/glew.h>

#include "color_space.h"

namespace noxd {

struct RendererCore;

// YUV sources come in every colour space; the RGB source has one.
const char* ShaderSourceFor(unsigned format_class, ColorSpaceIndex color_space = kDefaultColorSpace);

// Where the frame sequence sets the program's uniforms, looked up once when
// the program is built rather than by name in every frame; -1 for a name
// the program does not have.
struct ShaderUniforms {
    GLint shader_on = -1;
    // The sampler uniforms fed by texture units 0, 1 and 2.
    GLint samplers_of_unit[3][2] = {{-1, -1}, {-1, -1}, {-1, -1}};
};

// GL errors of the single build steps are read and dropped: a program that
// fails to compile shows up as a black picture, never as a failed creation.
// Also looks up the program's uniforms.
void BuildShaderProgram(RendererCore& renderer);

void DeleteShaderProgram(RendererCore& renderer);

// Builds the program anew when a YUV renderer was asked for another colour
// space than its program converts in. GL thread, before a picture is drawn.
void ApplyRequestedColorSpace(RendererCore& renderer);

}  // namespace noxd
