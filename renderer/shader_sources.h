// Fragment shaders that turn a frame's textures into screen colours, one per
// format class. Vertex processing stays fixed-function: the shaders get the
// quad's texture coordinate set 0. Overlays are drawn with no program current.
//
// YUV is converted with the constants of the renderer's colour space; the
// default is limited-range BT.601:
//   R = 1.164 (Y - 16/255) + 1.596 (V - 0.5)
//   G = 1.164 (Y - 16/255) - 0.813 (V - 0.5) - 0.391 (U - 0.5)
//   B = 1.164 (Y - 16/255) + 2.018 (U - 0.5)
// With Kr, Kb the matrix's luma weights (BT.601 0.299, 0.114; BT.709 0.2126,
// 0.0722) and Kg = 1 - Kr - Kb, full range gives
//   R = Y + 2 (1 - Kr) V'   G = Y - 2 Kb (1 - Kb) / Kg U' - 2 Kr (1 - Kr) / Kg V'
//   B = Y + 2 (1 - Kb) U'
// (U' = U - 0.5, V' = V - 0.5); limited range first stretches Y by 255/219
// from 16/255 and the chroma terms by 255/224.
// The colour buffer clamps; alpha is 0 (the pixel format has no alpha bits).
#pragma once

namespace noxd {

// The conversion with one colour space's constants, as GLSL literals: the
// luma offset and scale, then the V term of red, the V and U terms of green
// and the U term of blue.
#define NOXD_YUV_TO_RGBA(y_offset, y_scale, r_v, g_v, g_u, b_u)              \
    "const float y_const = " y_offset ";\n"                                  \
    "const float vu_const = 0.5;\n"                                          \
    "vec4 YUVToRGBA(float y, float u, float v) {\n"                          \
    "    float yy = " y_scale " * (y - y_const);\n"                          \
    "    float uu = u - vu_const;\n"                                         \
    "    float vv = v - vu_const;\n"                                         \
    "    return vec4(yy + " r_v " * vv,\n"                                   \
    "                yy - " g_v " * vv - " g_u " * uu,\n"                    \
    "                yy + " b_u " * uu,\n"                                   \
    "                0.0);\n"                                                \
    "}\n"

// The four colour spaces, in the order of ColorSpaceIndex.
#define NOXD_BT601_LIMITED NOXD_YUV_TO_RGBA("0.0625", "1.164", "1.596", "0.813", "0.391", "2.018")
#define NOXD_BT601_FULL NOXD_YUV_TO_RGBA("0.0", "1.0", "1.402", "0.7141", "0.3441", "1.772")
#define NOXD_BT709_LIMITED NOXD_YUV_TO_RGBA("0.0625", "1.164", "1.7927", "0.5329", "0.2132", "2.1124")
#define NOXD_BT709_FULL NOXD_YUV_TO_RGBA("0.0", "1.0", "1.5748", "0.4681", "0.1873", "1.8556")

// The layer of overlays laid over the picture in the picture's own pass,
// where the program is built with NOXD_LAYER defined. The layer has the
// client area's size, its first row is the window's top one and its colours
// are premultiplied by their alpha: the overlays over the picture are
//   layer.rgb + picture.rgb (1 - layer.a),
// the picture clamped first, as the colour buffer would have clamped it.
#define NOXD_OVER_LAYER                                                      \
    "#ifdef NOXD_LAYER\n"                                                    \
    "uniform sampler2D Layertex;\n"                                          \
    "uniform vec2 layer_scale;\n"                                            \
    "vec4 OverLayer(vec4 c) {\n"                                             \
    "    vec2 at = vec2(gl_FragCoord.x * layer_scale.x, 1.0 - gl_FragCoord.y * layer_scale.y);\n" \
    "    vec4 o = texture2D(Layertex, at);\n"                                \
    "    return vec4(o.rgb + clamp(c.rgb, 0.0, 1.0) * (1.0 - o.a), c.a);\n"  \
    "}\n"                                                                    \
    "#else\n"                                                                \
    "vec4 OverLayer(vec4 c) { return c; }\n"                                 \
    "#endif\n"

// 24- and 32-bit BGR, in RGB and RGBA textures; the fourth byte of a 32-bit
// pixel is not alpha, so the picture is opaque either way.
constexpr const char kRgbShaderSource[] =
    "uniform sampler2D RGBtex;\n" NOXD_OVER_LAYER
    "void main() {\n"
    "    gl_FragColor = OverLayer(vec4(texture2D(RGBtex, gl_TexCoord[0].st).rgb, 1.0));\n"
    "}\n";

// A luma texture and a chroma texture: for the packed 4:2:2 layouts Ytex
// holds one luminance-alpha texel per pixel and UVtex one B G R A texel per
// pixel pair; for NV12 and NV21 Ytex is the luminance plane and UVtex the
// chroma pairs as luminance-alpha texels (first byte luminance, second
// alpha). The swizzles say where y, u and v lie.
#define NOXD_TWO_TEXTURE_YUV_SHADER(y, u, v, conversion)                     \
    "uniform sampler2D Ytex;\n"                                              \
    "uniform sampler2D UVtex;\n"                                             \
    conversion NOXD_OVER_LAYER                                               \
    "void main() {\n"                                                        \
    "    vec2 st = gl_TexCoord[0].st;\n"                                     \
    "    vec4 uv = texture2D(UVtex, st);\n"                                  \
    "    gl_FragColor = OverLayer(YUVToRGBA(texture2D(Ytex, st)." y ", uv." u ", uv." v "));\n" \
    "}\n"

// I420: three luminance planes.
#define NOXD_PLANAR_YUV_SHADER(conversion)                                   \
    "uniform sampler2D Ytex;\n"                                              \
    "uniform sampler2D Utex;\n"                                              \
    "uniform sampler2D Vtex;\n"                                              \
    conversion NOXD_OVER_LAYER                                               \
    "void main() {\n"                                                        \
    "    vec2 st = gl_TexCoord[0].st;\n"                                     \
    "    gl_FragColor = OverLayer(YUVToRGBA(texture2D(Ytex, st).r, texture2D(Utex, st).r,\n" \
    "                                       texture2D(Vtex, st).r));\n"       \
    "}\n"

// Each format's source in every colour space, indexed by ColorSpaceIndex.
#define NOXD_TWO_TEXTURE_SOURCES(y, u, v)                                      \
    {NOXD_TWO_TEXTURE_YUV_SHADER(y, u, v, NOXD_BT601_LIMITED),                 \
     NOXD_TWO_TEXTURE_YUV_SHADER(y, u, v, NOXD_BT601_FULL),                    \
     NOXD_TWO_TEXTURE_YUV_SHADER(y, u, v, NOXD_BT709_LIMITED),                 \
     NOXD_TWO_TEXTURE_YUV_SHADER(y, u, v, NOXD_BT709_FULL)}

// YUY2 (Y0 U Y1 V): the luma is the red (luminance) of Ytex; U is green, V alpha of UVtex.
constexpr const char* const kPackedLumaEvenShaderSources[] = NOXD_TWO_TEXTURE_SOURCES("r", "g", "a");

// UYVY (U Y0 V Y1): the luma is the alpha of Ytex; U is blue, V red of UVtex.
constexpr const char* const kPackedLumaOddShaderSources[] = NOXD_TWO_TEXTURE_SOURCES("a", "b", "r");

// NV12 (U V pairs): U is the luminance, V the alpha of UVtex.
constexpr const char* const kNv12ShaderSources[] = NOXD_TWO_TEXTURE_SOURCES("r", "r", "a");

// NV21 (V U pairs): the other way round.
constexpr const char* const kNv21ShaderSources[] = NOXD_TWO_TEXTURE_SOURCES("r", "a", "r");

constexpr const char* const kPlanarShaderSources[] = {
    NOXD_PLANAR_YUV_SHADER(NOXD_BT601_LIMITED), NOXD_PLANAR_YUV_SHADER(NOXD_BT601_FULL),
    NOXD_PLANAR_YUV_SHADER(NOXD_BT709_LIMITED), NOXD_PLANAR_YUV_SHADER(NOXD_BT709_FULL)};

#undef NOXD_OVER_LAYER
#undef NOXD_PLANAR_YUV_SHADER
#undef NOXD_TWO_TEXTURE_SOURCES
#undef NOXD_TWO_TEXTURE_YUV_SHADER
#undef NOXD_BT709_FULL
#undef NOXD_BT709_LIMITED
#undef NOXD_BT601_FULL
#undef NOXD_BT601_LIMITED
#undef NOXD_YUV_TO_RGBA

}  // namespace noxd
