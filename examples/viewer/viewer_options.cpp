#include "viewer_options.h"

#include <cerrno>
#include <cstdlib>

namespace viewer {

namespace {

bool ParseCount(const std::string& text, long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool ParseFormat(const std::string& text, PictureFormat& format) {
    if (text == "yuy2") format = PictureFormat::kYuy2;
    else if (text == "rgb32") format = PictureFormat::kRgb32;
    else return false;
    return true;
}

// Applies the option at args[i], taking its value from args[i + 1] when it
// has one; returns the error text, empty when it applied.
std::string ApplyOption(const std::vector<std::string>& args, size_t& i, ParsedCommandLine& parsed) {
    const std::string& name = args[i];
    Options& o = parsed.options;
    if (name == "--help" || name == "-h") parsed.help = true;
    else if (name == "--host-window") o.host_window = true;
    else if (name == "--verbose") o.verbose = true;
    else if (name == "--bt709") o.bt709 = true;
    else if (name == "--stats") o.stats = true;
    else if (name == "--mirror") o.shape.mirror = true;
    else if (name == "--fallback") o.fallback = true;
    else {
        std::string* text = nullptr;
        if (name == "--name") text = &o.camera_name;
        else if (name == "--screenshot") text = &o.screenshot;
        else if (name == "--script") text = &o.script;
        else if (name == "--logo") text = &o.logo;
        else if (name != "--frames" && name != "--format" && name != "--aspect" && name != "--rotate")
            return "unknown option " + name;
        if (i + 1 >= args.size()) return name + " needs a value";
        const std::string& value = args[++i];
        if (text) *text = value;
        else if (name == "--frames" && !ParseCount(value, o.frames))
            return "--frames takes a count of frames, not " + value;
        else if (name == "--format" && !ParseFormat(value, o.format))
            return "--format takes yuy2 or rgb32, not " + value;
        else if (name == "--aspect" && !ParseAspectMode(value, o.shape.aspect))
            return "--aspect takes stretch, fit or fill, not " + value;
        else if (name == "--rotate" && !ParseDegrees(value, o.shape.degrees))
            return "--rotate takes 0, 90, 180 or 270, not " + value;
    }
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        if (args[i].size() > 1 && args[i][0] == '-') parsed.error = ApplyOption(args, i, parsed);
        else positional.push_back(args[i]);
    }
    if (!parsed.error.empty() || parsed.help) return parsed;
    Options& o = parsed.options;
    if (positional.empty()) parsed.error = "no camera address";
    else if (positional.size() > 3) parsed.error = "unexpected argument " + positional[3];
    else {
        o.address = positional[0];
        if (positional.size() > 1) o.login = positional[1];
        if (positional.size() > 2) o.password = positional[2];
        if (o.camera_name.empty()) o.camera_name = o.address;
    }
    return parsed;
}

std::string UsageText() {
    return "usage: noxd_viewer ADDRESS [LOGIN [PASSWORD]] [options]\n"
           "Shows a camera live through noxd, decoded by nox.dll from the viewer's folder.\n"
           "  LOGIN defaults to admin, PASSWORD to an empty one.\n"
           "  --format yuy2|rgb32   picture format asked of the decoder (yuy2)\n"
           "  --name TEXT           camera name shown over the video (the address)\n"
           "  --host-window         draw into a plain window of the viewer's own\n"
           "  --logo FILE.bmp       logo shown top right (logo.bmp beside the viewer)\n"
           "  --frames N            end after N frames shown (and the script played)\n"
           "  --screenshot FILE.png save the window's last frame at the end\n"
           "  --script FILE         play timed mouse drags, clicks and keys\n"
           "  --verbose             print every call of the mouse callback\n"
           "  --bt709               convert YUV pictures as BT.709 (HD cameras)\n"
           "  --stats               show the statistics line from the start\n"
           "  --aspect stretch|fit|fill  the picture stretched to the window, fitted whole\n"
           "                        with black bars, or filling it cropped (stretch)\n"
           "  --rotate 0|90|180|270 turn the picture clockwise (0)\n"
           "  --mirror              mirror the picture left to right (before the turn)\n"
           "  --fallback            where OpenGL has no shaders (virtual machines, remote\n"
           "                        desktops), convert pictures on the CPU and draw with GL 1.1\n"
           "Keys: Z digital zoom on/off (or the button), P privacy-mask tool on/off,\n"
           "  S snapshot (snapshot-N.png), F1 statistics line on/off, A stretch/fit/fill,\n"
           "  R turn by 90 degrees, M mirror on/off, Esc quit.\n"
           "Mouse: drag to zoom, double-click for the whole picture; with P on, drag a mask.\n";
}

}  // namespace viewer
