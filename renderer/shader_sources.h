// Fragment shaders that turn a frame's textures into screen colours, one per
// format class. Vertex processing stays fixed-function: the shaders get the
// quad's colour and texture coordinate set 0. With shader_on = 0 they pass
// the vertex colour through, so overlays drawn under the program look right.
//
// YUV is limited-range BT.601:
//   R = 1.164 (Y - 16/255) + 1.596 (V - 0.5)
//   G = 1.164 (Y - 16/255) - 0.813 (V - 0.5) - 0.391 (U - 0.5)
//   B = 1.164 (Y - 16/255) + 2.018 (U - 0.5)
// The colour buffer clamps; alpha is 0 (the pixel format has no alpha bits).
#pragma once

namespace noxd {

#define NOXD_YUV_TO_RGBA                                                     \
    "const float y_const = 0.0625;\n"                                        \
    "const float vu_const = 0.5;\n"                                          \
    "vec4 YUVToRGBA(float y, float u, float v) {\n"                          \
    "    float yy = 1.164 * (y - y_const);\n"                                \
    "    float uu = u - vu_const;\n"                                         \
    "    float vv = v - vu_const;\n"                                         \
    "    return vec4(yy + 1.596 * vv,\n"                                     \
    "                yy - 0.813 * vv - 0.391 * uu,\n"                        \
    "                yy + 2.018 * uu,\n"                                     \
    "                0.0);\n"                                                \
    "}\n"

// 24- and 32-bit BGR, uploaded as RGB textures.
constexpr const char kRgbShaderSource[] =
    "uniform int shader_on;\n"
    "uniform sampler2D RGBtex;\n"
    "void main() {\n"
    "    if (shader_on == 0) { gl_FragColor = gl_Color; return; }\n"
    "    gl_FragColor = texture2D(RGBtex, gl_TexCoord[0].st);\n"
    "}\n";

// Both packed layouts: Ytex holds one luminance-alpha texel per pixel,
// UVtex one B G R A texel per pixel pair; the swizzles say where y, u and v lie.
#define NOXD_PACKED_YUV_SHADER(y, u, v)                                      \
    "uniform int shader_on;\n"                                               \
    "uniform sampler2D Ytex;\n"                                              \
    "uniform sampler2D UVtex;\n"                                             \
    NOXD_YUV_TO_RGBA                                                         \
    "void main() {\n"                                                        \
    "    if (shader_on == 0) { gl_FragColor = gl_Color; return; }\n"         \
    "    vec2 st = gl_TexCoord[0].st;\n"                                     \
    "    vec4 uv = texture2D(UVtex, st);\n"                                  \
    "    gl_FragColor = YUVToRGBA(texture2D(Ytex, st)." y ", uv." u ", uv." v ");\n" \
    "}\n"

// YUY2 (Y0 U Y1 V): the luma is the red (luminance) of Ytex; U is green, V alpha of UVtex.
constexpr const char kPackedLumaEvenShaderSource[] = NOXD_PACKED_YUV_SHADER("r", "g", "a");

// UYVY (U Y0 V Y1): the luma is the alpha of Ytex; U is blue, V red of UVtex.
constexpr const char kPackedLumaOddShaderSource[] = NOXD_PACKED_YUV_SHADER("a", "b", "r");

// I420: three luminance planes.
constexpr const char kPlanarShaderSource[] =
    "uniform int shader_on;\n"
    "uniform sampler2D Ytex;\n"
    "uniform sampler2D Utex;\n"
    "uniform sampler2D Vtex;\n"
    NOXD_YUV_TO_RGBA
    "void main() {\n"
    "    if (shader_on == 0) { gl_FragColor = gl_Color; return; }\n"
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    gl_FragColor = YUVToRGBA(texture2D(Ytex, st).r, texture2D(Utex, st).r,\n"
    "                             texture2D(Vtex, st).r);\n"
    "}\n";

#undef NOXD_PACKED_YUV_SHADER
#undef NOXD_YUV_TO_RGBA

}  // namespace noxd
