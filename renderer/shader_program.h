// The colour-conversion program of a renderer: built once at creation from
// the source of its format class, deleted at release. GL thread only.
#pragma once

struct CGLRenderer;

namespace noxd {

const char* ShaderSourceFor(unsigned format_class);

// GL errors of the single build steps are read and dropped: a program that
// fails to compile shows up as a black picture, never as a failed creation.
void BuildShaderProgram(CGLRenderer& renderer);

void DeleteShaderProgram(CGLRenderer& renderer);

}  // namespace noxd
