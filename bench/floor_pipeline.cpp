#include "floor_pipeline.h"

namespace bench {

namespace {

#define FLOOR_BT601                                                          \
    "vec4 Rgb(float y, float u, float v) {\n"                                \
    "    float l = 1.164 * (y - 0.0625);\n"                                  \
    "    u -= 0.5; v -= 0.5;\n"                                              \
    "    return vec4(l + 1.596 * v, l - 0.813 * v - 0.391 * u, l + 2.018 * u, 0.0);\n" \
    "}\n"

// With kProgramSwitch the shader, like noxd's, passes the vertex colour
// through while the switch uniform is 0.
#define FLOOR_MAIN                                                           \
    "uniform int on;\n"                                                      \
    "void main() {\n"                                                        \
    "#ifdef SWITCHED\n"                                                      \
    "    if (on == 0) { gl_FragColor = gl_Color; return; }\n"                \
    "#endif\n"

const char kRgbSource[] =
    "uniform sampler2D t0;\n" FLOOR_MAIN
    "    gl_FragColor = texture2D(t0, gl_TexCoord[0].st);\n"
    "}\n";

const char kI420Source[] =
    "uniform sampler2D t0, t1, t2;\n" FLOOR_BT601 FLOOR_MAIN
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).r, texture2D(t1, st).r, texture2D(t2, st).r);\n"
    "}\n";

// Packed 4:2:2: t0 one luminance-alpha texel per pixel, t1 one B G R A texel per pair.
const char kYuy2Source[] =
    "uniform sampler2D t0, t1;\n" FLOOR_BT601 FLOOR_MAIN
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    vec4 c = texture2D(t1, st);\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).r, c.g, c.a);\n"
    "}\n";

const char kUyvySource[] =
    "uniform sampler2D t0, t1;\n" FLOOR_BT601 FLOOR_MAIN
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    vec4 c = texture2D(t1, st);\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).a, c.b, c.r);\n"
    "}\n";

#undef FLOOR_BT601
#undef FLOOR_MAIN

const char* SourceFor(int format) {
    switch (format) {
    case 8: return kI420Source;
    case 9: return kUyvySource;
    case 12: return kYuy2Source;
    default: return kRgbSource;
    }
}

}  // namespace

FloorPipeline::~FloorPipeline() {
    if (context_) {
        for (int i = 0; i < plane_count_; ++i) glDeleteTextures(1, &planes_[i].texture);
        if (program_) glDeleteProgram(program_);
        if (shader_) glDeleteShader(shader_);
    }
}

bool FloorPipeline::CreateContext() {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    dc_ = noxd::WindowDc(window_->get());
    if (!dc_) return false;
    const int format = ChoosePixelFormat(dc_.get(), &pfd);
    if (!format || !SetPixelFormat(dc_.get(), format, &pfd)) return false;
    context_.reset(wglCreateContext(dc_.get()));
    return context_ && wglMakeCurrent(dc_.get(), context_.get()) && glewInit() == GLEW_OK &&
           glCreateProgram;
}

bool FloorPipeline::BuildProgram(int format) {
    const char* sources[2] = {extras_ & kProgramSwitch ? "#define SWITCHED\n" : "", SourceFor(format)};
    shader_ = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader_, 2, sources, nullptr);
    glCompileShader(shader_);
    program_ = glCreateProgram();
    glAttachShader(program_, shader_);
    glLinkProgram(program_);
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    glUseProgram(program_);
    switch_location_ = glGetUniformLocation(program_, "on");
    const char* samplers[3] = {"t0", "t1", "t2"};
    for (int unit = 0; unit < 3; ++unit) {
        const GLint location = glGetUniformLocation(program_, samplers[unit]);
        if (location >= 0) glUniform1i(location, unit);
    }
    return true;
}

// One texture per plane, each bound on its own unit for good.
void FloorPipeline::AllocatePlanes(const ViewLayout& layout) {
    const GLsizei w = layout.frame_width, h = layout.frame_height;
    struct Layout {
        GLint internal;
        GLenum source;
        GLsizei width, height;
        size_t offset;
    } layouts[3];
    switch (layout.format) {
    case 8: {
        const size_t luma = static_cast<size_t>(w) * h;
        layouts[0] = {GL_LUMINANCE, GL_LUMINANCE, w, h, 0};
        layouts[1] = {GL_LUMINANCE, GL_LUMINANCE, w / 2, h / 2, luma};
        layouts[2] = {GL_LUMINANCE, GL_LUMINANCE, w / 2, h / 2, luma + luma / 4};
        plane_count_ = 3;
        break;
    }
    case 9:
    case 12:
        layouts[0] = {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, w, h, 0};
        layouts[1] = {GL_RGBA, GL_BGRA, w / 2, h, 0};
        plane_count_ = 2;
        break;
    default:
        layouts[0] = {GL_RGB, layout.format == 10 ? GLenum(GL_BGRA) : GLenum(GL_BGR), w, h, 0};
        plane_count_ = 1;
        break;
    }
    for (int i = 0; i < plane_count_; ++i) {
        Plane& p = planes_[i];
        p = {0, i, layouts[i].width, layouts[i].height, layouts[i].source, layouts[i].offset};
        internal_formats_[i] = layouts[i].internal;
        glGenTextures(1, &p.texture);
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_2D, p.texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, layouts[i].internal, p.width, p.height, 0, p.source_format,
                     GL_UNSIGNED_BYTE, nullptr);
    }
}

bool FloorPipeline::Open(const ViewLayout& layout) {
    window_ = std::make_unique<BenchWindow>(layout);
    if (!window_->get() || !CreateContext() || !BuildProgram(layout.format)) return false;
    // Before the planes, which bind their textures on their units for good.
    if (extras_ & (kOverlays | kOverlaysInOwnTextures))
        overlays_ = std::make_unique<OverlayCalls>((extras_ & kOverlaysInOwnTextures) != 0);
    AllocatePlanes(layout);
    bottom_up_ = layout.format == 10 || layout.format == 11;
    if (extras_ & kKernelMutex) mutex_.reset(CreateMutexW(nullptr, FALSE, nullptr));
    width_ = layout.client_width;
    height_ = layout.client_height;
    glViewport(0, 0, layout.client_width, layout.client_height);
    return true;
}

void FloorPipeline::Upload(const Plane& p, GLint internal_format, const uint8_t* frame) const {
    glActiveTexture(GL_TEXTURE0 + p.unit);
    if (extras_ & kTextureState) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, p.texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    if (extras_ & kRespecify)
        glTexImage2D(GL_TEXTURE_2D, 0, internal_format, p.width, p.height, 0, p.source_format,
                     GL_UNSIGNED_BYTE, frame + p.offset);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, p.width, p.height, p.source_format, GL_UNSIGNED_BYTE,
                    frame + p.offset);
}

// Texture row 0 is the frame's first row: the bottom of the picture for BGR,
// the top for YUV.
void FloorPipeline::DrawQuad() const {
    const float top = bottom_up_ ? 1.0f : 0.0f, bottom = 1.0f - top;
    const float corners[4][4] = {{0, bottom, -1, -1}, {1, bottom, 1, -1}, {1, top, 1, 1}, {0, top, -1, 1}};
    const int units = extras_ & kAllUnitCoords ? 3 : 1;
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        for (int u = 0; u < units; ++u) glMultiTexCoord2f(GL_TEXTURE0 + u, c[0], c[1]);
        glVertex2f(c[2], c[3]);
    }
    glEnd();
}

// Fixed-function drawing on unit 0, as noxd's overlays follow its frame;
// then unit 0's plane and the program are put back for the next frame.
void FloorPipeline::DrawOverlays() const {
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    overlays_->Draw(width_, height_);
    glBindTexture(GL_TEXTURE_2D, planes_[0].texture);
    glUseProgram(program_);
}

void FloorPipeline::Draw(const uint8_t* frame) {
    if (mutex_) WaitForSingleObject(mutex_.get(), INFINITE);
    if (extras_ & kProgramSwitch) {
        glUseProgram(program_);
        glUniform1i(switch_location_, 1);
    }
    if (extras_ & kPushAttrib) glPushAttrib(0x000FFFFF);
    for (int i = 0; i < plane_count_; ++i) Upload(planes_[i], internal_formats_[i], frame);
    if (extras_ & kClear) glClear(GL_COLOR_BUFFER_BIT);
    DrawQuad();
    if (extras_ & kProgramSwitch) {
        glUniform1i(switch_location_, 0);
        glUseProgram(0);
    }
    if (extras_ & kPushAttrib) glPopAttrib();
    if (overlays_) DrawOverlays();
    SwapBuffers(dc_.get());
    if (mutex_) ReleaseMutex(mutex_.get());
}

std::string FloorPipeline::GlDescription() const {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer ? renderer : "?") + " / " + (version ? version : "?");
}

std::unique_ptr<Pipeline> MakeFloorPipeline() { return std::make_unique<FloorPipeline>(); }

}  // namespace bench
