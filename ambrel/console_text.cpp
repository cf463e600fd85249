#include "console_text.h"

#include <cstdio>
#include <cstring>

#include "nox_values.h"

namespace {

const char* NotConnectedReason(int32_t reason) {
    switch (reason) {
    case 10: return "Server is unreachable for connection";
    case 11: return "Too many connections on the server";
    case 12: return "Password is incorrect";
    case 13: return "Server disabled the connection";
    case 14: return "Login ID doesn't exist";
    case 15: return "Can't resolve the domain name";
    case 17: return "Multiple connections to a channel are not allowed";
    case 18: return "Disconnected due to keep alive timeout";
    case 19: return "No authority operation";
    case 20: return "General failure";
    default: return nullptr;
    }
}

std::string ConnectionLine(int32_t state, int32_t reason) {
    if (state & nox::kStateConnected) return "OnChannelNotify: CONNECTED\r\n";
    if (reason < 10) return "OnChannelNotify: NOT CONNECTED: reason=" + std::to_string(reason) + ")\r\n";
    const char* text = NotConnectedReason(reason);
    if (!text) return {};
    return std::string("OnChannelNotify: NOT CONNECTED:") + text + ")\r\n";
}

}  // namespace

std::string ChannelNoticeText(int32_t state, int32_t reason) {
    std::string text = ConnectionLine(state, reason);
    if (state & nox::kStateStreamed) text += "OnChannelNotify: STREAMED\r\n";
    if (state & nox::kStateDecoded) text += "OnChannelNotify: DECODED\r\n";
    if (state & nox::kStateDisplayed) text += "OnChannelNotify: DISPLAYED\r\n";
    if (state & nox::kStateRecorded) text += "OnChannelNotify: QZ_CS_RECORDED)\r\n";
    return text;
}

std::string FormatLogLine(int hours, int minutes, int seconds, const std::string& message) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "nox %02d:%02d:%02d ", hours, minutes, seconds);
    std::string line = prefix;
    const size_t room = kMaxLogLine - line.size() - 1;
    line.append(message, 0, room);
    return line + "\n";
}

const char* BaseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}
