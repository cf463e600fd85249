// The colour-conversion program of a renderer: built once at creation from
// the source of its format class, deleted at release. GL thread only.
#pragma once

#include <GL/glew.h>

#include "color_space.h"
#include "frame_layout.h"

namespace noxd {

struct RendererCore;

// The program that also lays the layer of overlays over the picture.
struct LayerProgram {
    GLuint program = 0;
    GLuint fragment_shader = 0;
    GLint scale = -1;  // layer_scale: 1 / the layer's width and height
};

// YUV sources come in every colour space; the RGB source has one.
const char* ShaderSourceFor(FormatClass format_class, ColorSpaceIndex color_space = kDefaultColorSpace);

// GL errors of the single build steps are read and dropped: a program that
// fails to compile shows up as a black picture, never as a failed creation.
// Also sets the uniforms, which stay as they are for the program's life.
void BuildShaderProgram(RendererCore& renderer);

// The same program with the layer of overlays laid over the picture
// (NOXD_LAYER), built the first time it is asked for; 0 without a program.
GLuint ProgramOverLayer(RendererCore& renderer);

// Deletes both programs.
void DeleteShaderProgram(RendererCore& renderer);

// Builds the program anew for frames of another format class than it
// converts, or when YUV frames were asked for another colour space. GL
// thread, before a picture is drawn.
void ApplyProgramRequests(RendererCore& renderer, FormatClass format_class);

}  // namespace noxd
