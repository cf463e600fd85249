#include "floor_pipeline.h"

#include "test_card.h"

namespace bench {

namespace {

constexpr int kI420 = 8, kUyvy = 9, kBgr32 = 10, kBgr24 = 11;

bool IsRgb(int format) { return format == kBgr32 || format == kBgr24; }

#define FLOOR_BT601                                                          \
    "vec4 Rgb(float y, float u, float v) {\n"                                \
    "    float l = 1.164 * (y - 0.0625);\n"                                  \
    "    u -= 0.5; v -= 0.5;\n"                                              \
    "    return vec4(l + 1.596 * v, l - 0.813 * v - 0.391 * u, l + 2.018 * u, 0.0);\n" \
    "}\n"

// Only for kProgramSwitch: the floor draws RGB frames without a program.
const char kRgbSource[] =
    "uniform sampler2D t0;\n"
    "void main() {\n"
    "    gl_FragColor = texture2D(t0, gl_TexCoord[0].st);\n"
    "}\n";

const char kI420Source[] =
    "uniform sampler2D t0, t1, t2;\n" FLOOR_BT601
    "void main() {\n"
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).r, texture2D(t1, st).r, texture2D(t2, st).r);\n"
    "}\n";

// Packed 4:2:2: t0 one luminance-alpha texel per pixel, t1 one B G R A texel per pair.
const char kYuy2Source[] =
    "uniform sampler2D t0, t1;\n" FLOOR_BT601
    "void main() {\n"
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    vec4 c = texture2D(t1, st);\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).r, c.g, c.a);\n"
    "}\n";

// NV12: t0 the Y plane, t1 one luminance-alpha texel per U V pair.
const char kNv12Source[] =
    "uniform sampler2D t0, t1;\n" FLOOR_BT601
    "void main() {\n"
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    vec4 c = texture2D(t1, st);\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).r, c.r, c.a);\n"
    "}\n";

const char kUyvySource[] =
    "uniform sampler2D t0, t1;\n" FLOOR_BT601
    "void main() {\n"
    "    vec2 st = gl_TexCoord[0].st;\n"
    "    vec4 c = texture2D(t1, st);\n"
    "    gl_FragColor = Rgb(texture2D(t0, st).a, c.b, c.r);\n"
    "}\n";

#undef FLOOR_BT601

const char* SourceFor(int format) {
    switch (format) {
    case kI420: return kI420Source;
    case kUyvy: return kUyvySource;
    case kFormatNv12: return kNv12Source;
    case kBgr32:
    case kBgr24: return kRgbSource;
    default: return kYuy2Source;
    }
}

}  // namespace

// noxd makes its program current for every format (a pass-through one for
// RGB), binds its textures and clears in every frame; the quad has one set
// of coordinates.
unsigned NoxdFramePieces() { return kClear | kBindPerFrame | kProgramSwitch; }

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

// Leaves the program current, with each sampler on the unit of its plane.
bool FloorPipeline::BuildProgram(const char* source) {
    shader_ = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader_, 1, &source, nullptr);
    glCompileShader(shader_);
    program_ = glCreateProgram();
    glAttachShader(program_, shader_);
    glLinkProgram(program_);
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    glUseProgram(program_);
    const char* samplers[3] = {"t0", "t1", "t2"};
    for (int unit = 0; unit < 3; ++unit) {
        const GLint location = glGetUniformLocation(program_, samplers[unit]);
        if (location >= 0) glUniform1i(location, unit);
    }
    return true;
}

// One texture per plane, each bound on its own unit for good, with its
// storage and filters set here once.
void FloorPipeline::AllocatePlanes(const ViewLayout& layout) {
    const GLsizei w = layout.frame_width, h = layout.frame_height;
    const size_t luma = static_cast<size_t>(w) * h;
    switch (layout.format) {
    case kI420:
        planes_[0] = {0, GL_LUMINANCE, GL_LUMINANCE, w, h, 0};
        planes_[1] = {0, GL_LUMINANCE, GL_LUMINANCE, w / 2, h / 2, luma};
        planes_[2] = {0, GL_LUMINANCE, GL_LUMINANCE, w / 2, h / 2, luma + luma / 4};
        plane_count_ = 3;
        // I420 and NV12 rows have no padding; every other layout's rows are
        // 4-byte aligned, GL's default.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        break;
    case kFormatNv12:
        planes_[0] = {0, GL_LUMINANCE, GL_LUMINANCE, w, h, 0};
        planes_[1] = {0, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, w / 2, h / 2, luma};
        plane_count_ = 2;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        break;
    case kBgr32:
        planes_[0] = {0, GL_RGBA, GL_BGRA, w, h, 0};
        plane_count_ = 1;
        break;
    case kBgr24:
        planes_[0] = {0, GL_RGB, GL_BGR, w, h, 0};
        plane_count_ = 1;
        break;
    default:  // UYVY, YUY2
        planes_[0] = {0, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, w, h, 0};
        planes_[1] = {0, GL_RGBA, GL_BGRA, w / 2, h, 0};
        plane_count_ = 2;
        break;
    }
    for (int i = 0; i < plane_count_; ++i) {
        Plane& p = planes_[i];
        glGenTextures(1, &p.texture);
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_2D, p.texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, p.internal_format, p.width, p.height, 0, p.source_format,
                     GL_UNSIGNED_BYTE, nullptr);
    }
}

// Unit 0's texture replaces the fragment's colour: the quad shows the
// texels as they are, with no program.
void FloorPipeline::UseFixedFunctionTexture() const {
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, planes_[0].texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
}

bool FloorPipeline::Open(const ViewLayout& layout) {
    if (extras_ & kNoxdSequence) extras_ = (extras_ & ~kNoxdSequence) | NoxdFramePieces();
    window_ = std::make_unique<BenchWindow>(layout);
    if (!window_->get() || !CreateContext()) return false;
    const bool fixed_function = IsRgb(layout.format) && !(extras_ & kProgramSwitch);
    if (!fixed_function && !BuildProgram(SourceFor(layout.format))) return false;
    if (extras_ & kProgramSwitch) glUseProgram(0);
    // Before the planes, which bind their textures on their units for good.
    if (extras_ & (kOverlays | kOverlaysInOwnTextures))
        overlays_ = std::make_unique<OverlayCalls>((extras_ & kOverlaysInOwnTextures) != 0);
    AllocatePlanes(layout);
    if (fixed_function) UseFixedFunctionTexture();
    bottom_up_ = IsRgb(layout.format);
    width_ = layout.client_width;
    height_ = layout.client_height;
    glViewport(0, 0, layout.client_width, layout.client_height);
    return true;
}

// A sub-upload goes into the texture bound on the active unit.
void FloorPipeline::Upload(int unit, const uint8_t* frame) const {
    const Plane& p = planes_[unit];
    glActiveTexture(GL_TEXTURE0 + unit);
    if (extras_ & kBindPerFrame) glBindTexture(GL_TEXTURE_2D, p.texture);
    if (extras_ & kRespecify)
        glTexImage2D(GL_TEXTURE_2D, 0, p.internal_format, p.width, p.height, 0, p.source_format,
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

// Fixed-function drawing on unit 0 with no program, as noxd's overlays
// follow its frame; then the floor's own state is put back for the next frame.
void FloorPipeline::DrawOverlays() const {
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    overlays_->Draw(width_, height_);
    if (!program_) {
        UseFixedFunctionTexture();
        return;
    }
    glBindTexture(GL_TEXTURE_2D, planes_[0].texture);
    if (!(extras_ & kProgramSwitch)) glUseProgram(program_);
}

void FloorPipeline::Draw(const uint8_t* frame) {
    if (extras_ & kProgramSwitch) glUseProgram(program_);
    for (int i = 0; i < plane_count_; ++i) Upload(i, frame);
    if (extras_ & kClear) glClear(GL_COLOR_BUFFER_BIT);
    DrawQuad();
    if (extras_ & kProgramSwitch) glUseProgram(0);
    if (overlays_) DrawOverlays();
    SwapBuffers(dc_.get());
}

std::string CurrentGlDescription() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer ? renderer : "?") + " / " + (version ? version : "?");
}

std::unique_ptr<Pipeline> MakeFloorPipeline() { return std::make_unique<FloorPipeline>(); }

}  // namespace bench
