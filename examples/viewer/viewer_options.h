// The viewer's command line. Plain logic, no Windows headers.
#pragma once

#include <string>
#include <vector>

#include "decoded_frame.h"
#include "view_shape.h"

namespace viewer {

struct Options {
    std::string address;
    std::string login = "admin";
    std::string password;
    std::string camera_name;  // shown over the video; the address when not given
    PictureFormat format = PictureFormat::kYuy2;
    long frames = 0;          // stop after this many frames shown; 0: run until closed
    std::string screenshot;   // PNG written of the last frame shown
    std::string script;       // timed input to play
    std::string logo;         // BMP shown top right; empty: logo.bmp beside the program
    bool host_window = false; // draw into a plain window of the viewer's own
    bool verbose = false;     // print every mouse callback
    bool bt709 = false;       // YUV pictures converted as BT.709 (HD cameras)
    bool stats = false;       // the statistics line shown from the start (F1 switches it)
    bool fallback = false;    // where GL has no shaders, draw on noxd's GL 1.1 path
    PictureShape shape;       // aspect mode, turn and mirror at the start (A, R and M change them)
};

struct ParsedCommandLine {
    Options options;
    bool help = false;
    std::string error;  // empty when the command line was understood
};

// `args` without the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace viewer
