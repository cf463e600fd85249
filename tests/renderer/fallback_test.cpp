// This program's GL stands for Windows' own software GL ("GDI Generic": GL
// 1.1, no shader programs, no multitexture, no framebuffer objects,
// power-of-two textures only, GL_EXT_bgra): Mesa made to offer GL 1.1 with
// only the extensions of 1995 and before, and with the features a GL 1.1
// program could still reach through 1.1's own calls switched off
// (tools/mesa-gl11.env). Should a Mesa or a Wine ignore one of those
// switches, the fallback's cases would pass on a GL that only says it is old;
// this case says which switch did not hold.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cctype>
#include <string>

#include "support/gl_probe.h"

using namespace noxd_test;

namespace {

constexpr GLenum kTextureRectangle = 0x84F5;
constexpr GLenum kR8 = 0x8229;
constexpr GLenum kTextureSwizzleR = 0x8E42;

// Extensions Windows' GL lacks that a renderer would take for a GL with
// more than 1.1, or draw through.
const char* const kMissingOnWindowsGl[] = {
    "GL_ARB_texture_non_power_of_two", "GL_ARB_framebuffer_object",  "GL_EXT_framebuffer_object",
    "GL_ARB_multitexture",             "GL_ARB_shader_objects",      "GL_ARB_fragment_shader",
    "GL_ARB_vertex_shader",            "GL_ARB_fragment_program",    "GL_EXT_blend_func_separate",
    "GL_ARB_texture_rectangle",        "GL_NV_texture_rectangle",    "GL_EXT_texture_rectangle",
    "GL_ARB_vertex_buffer_object",     "GL_ARB_pixel_buffer_object", "GL_EXT_texture_edge_clamp",
    "GL_SGIS_texture_edge_clamp",
};

// Entry points of later GLs and of those extensions: Wine hands one out only
// where the version or the extension string has it.
const char* const kAbsentEntryPoints[] = {
    "glCreateProgram",     "glCreateProgramObjectARB", "glActiveTexture",
    "glActiveTextureARB",  "glGenFramebuffers",        "glGenFramebuffersEXT",
    "glBlendFuncSeparate", "glBlendFuncSeparateEXT",
};

// The GL error the call leaves, the errors before it cleared.
template <typename Call>
GLenum ErrorOf(Call call) {
    while (glGetError() != GL_NO_ERROR) {
    }
    call();
    return glGetError();
}

}  // namespace

TEST(FallbackGlTest, MesaStandsForWindowsOwnSoftwareGl) {
    GlProbe gl;
    ASSERT_EQ(gl.failure(), "");
    RecordProperty("gl_version", gl.version());
    RecordProperty("max_texture_size", gl.max_texture_size());

    // "1.1", then the end, a space or a release number.
    const std::string& version = gl.version();
    const bool gl_1_1 = version.rfind("1.1", 0) == 0 &&
                        (version.size() == 3 || !std::isdigit(static_cast<unsigned char>(version[3])));
    EXPECT_TRUE(gl_1_1) << "GL_VERSION is \"" << version << "\": MESA_GL_VERSION_OVERRIDE did not hold";

    std::string leaked;
    for (const char* name : kMissingOnWindowsGl) {
        if (gl.HasExtension(name)) leaked += std::string(" ") + name;
    }
    EXPECT_EQ(leaked, "") << "GL_EXTENSIONS offers what Windows' GL lacks: \"" << gl.extensions()
                          << "\"";
    EXPECT_TRUE(gl.HasExtension("GL_EXT_bgra")) << "GL_EXTENSIONS: \"" << gl.extensions() << "\"";

    std::string handed_out;
    for (const char* name : kAbsentEntryPoints) {
        if (gl.Proc(name)) handed_out += std::string(" ") + name;
    }
    EXPECT_EQ(handed_out, "") << "wglGetProcAddress gives entry points of a later GL";

    // The string alone proves little: MESA_EXTENSION_MAX_YEAR hides these
    // names too. What MESA_EXTENSION_OVERRIDE switches off, GL 1.1's own
    // calls refuse; entries from its start, middle and end, so that a list
    // that arrived cut short at a space is seen too.
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    EXPECT_EQ(ErrorOf([] {
                  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 512, 256, 0, GL_BGRA_EXT,
                               GL_UNSIGNED_BYTE, nullptr);
              }),
              static_cast<GLenum>(GL_NO_ERROR))
        << "a power-of-two BGRA texture";
    EXPECT_EQ(ErrorOf([] {
                  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 640, 480, 0, GL_BGRA_EXT,
                               GL_UNSIGNED_BYTE, nullptr);
              }),
              static_cast<GLenum>(GL_INVALID_VALUE))
        << "a 640x480 texture: GL_ARB_texture_non_power_of_two still on";
    EXPECT_EQ(ErrorOf([] {
                  glTexImage2D(GL_TEXTURE_2D, 0, kR8, 64, 64, 0, GL_RED, GL_UNSIGNED_BYTE, nullptr);
              }),
              static_cast<GLenum>(GL_INVALID_VALUE))
        << "a GL_R8 texture: GL_ARB_texture_rg still on";
    EXPECT_EQ(ErrorOf([] { glTexParameteri(GL_TEXTURE_2D, kTextureSwizzleR, GL_GREEN); }),
              static_cast<GLenum>(GL_INVALID_ENUM))
        << "a texture swizzle: GL_ARB_texture_swizzle still on";
    EXPECT_EQ(ErrorOf([&] { glBindTexture(kTextureRectangle, textures[1]); }),
              static_cast<GLenum>(GL_INVALID_ENUM))
        << "a rectangle texture: GL_ARB_texture_rectangle still on";
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(2, textures);

    // At least GL 1.1's least. Mesa has no setting for a smaller one, so
    // here only pictures wider than this are tiled.
    EXPECT_GE(gl.max_texture_size(), 64);
}
