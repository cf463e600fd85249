#include "settings.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Copies value into a field, or returns false when it does not fit: a value
// is never cut, since a shortened address or password would silently reach
// the camera.
bool CopyField(char (&field)[kFieldSize], const char* value, size_t length) {
    if (length >= kFieldSize) return false;
    std::memcpy(field, value, length);
    field[length] = '\0';
    return true;
}

bool CopyField(char (&field)[kFieldSize], const char* value) {
    return CopyField(field, value, std::strlen(value));
}

// Decimal value with leading blanks and a sign, stopping at the first
// non-digit; no digits give 0. Out-of-range values saturate.
int32_t ParseNumber(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool ParseLogin(const char* value, Settings* pini) {
    const char* colon = std::strchr(value, ':');
    if (!colon) return CopyField(pini->szLogin, value);
    return CopyField(pini->szPass, colon + 1) &&
           CopyField(pini->szLogin, value, static_cast<size_t>(colon - value));
}

// Applies one "-xVALUE" argument. Returns false when its value does not fit.
bool ApplySwitch(char letter, const char* value, Settings* pini) {
    switch (letter) {
    case 'i': return CopyField(pini->szAddr, value);
    case 'l': return ParseLogin(value, pini);
    case 'e': return CopyField(pini->szEncFile, value);
    case 'd': return CopyField(pini->szDecFile, value);
    case 'f': pini->format = ParseNumber(value); return true;
    case 't': pini->period = ParseNumber(value); return true;
    default: return true;
    }
}

void ApplyDefaults(Settings* pini, std::ostream& out) {
    if (!pini->szLogin[0]) out << "warn: login is empty\n";
    if (!pini->szPass[0]) out << "warn: pass is empty\n";
    if (!pini->szEncFile[0]) {
        out << "warn: enc file name is empty. changed to dump.264\n";
        CopyField(pini->szEncFile, "dump.264");
    }
    out << "input (enc) file " << pini->szEncFile << "\n";
    if (!pini->szDecFile[0]) {
        out << "warn: dec file name is empty\n";
        CopyField(pini->szDecFile, pini->format == 0 ? "dump.yuy" : "dump.rgb");
    }
    out << "output (dec) file " << pini->szDecFile << "\n";
    if (pini->period <= 0) {
        out << "warn: pini->period==0, changed to 30\n";
        pini->period = 30;
    }
}

}  // namespace

int ParseCommandLine(int argc, const char* const argv[], Settings* pini, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] != '-') continue;
        if (arg[1] != '\0' && !ApplySwitch(arg[1], arg + 2, pini)) {
            out << "err: value of -" << arg[1] << " is longer than " << (kFieldSize - 1)
                << " characters\n";
            return -1;
        }
        if (std::strcmp(arg, "-bmp") == 0) pini->bmp = 1;
    }
    if (!pini->szAddr[0]) {
        out << "err: ip_address was not entered\n";
        return -1;
    }
    ApplyDefaults(pini, out);
    return 0;
}

void PrintUsage(std::ostream& out) {
    out << "\nZEL Live decoder usage:\n"
        << "ambrel\r\n-i<ip_address<:port>>\r\n-l<login:password>\r\n-e<in_file>\r\n"
           "-d<out_file>\r\n-f<0:YUY2;1:RGB32;2:RGB24>\r\n"
           "-t<frame period (default is equal 30)>\r\n-bmp - bmp file sequence\n"
        << "press any key to exit" << std::flush;
}
