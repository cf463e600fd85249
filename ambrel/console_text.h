// Console texts of ambrel that are pure formatting.
#pragma once

#include <cstdint>
#include <string>

// The lines printed for a connection notice with the given state bits and
// reason code, in order; empty when the notice prints nothing.
std::string ChannelNoticeText(int32_t state, int32_t reason);

// "nox HH:MM:SS <message>\n", at most kMaxLogLine characters: a long message
// is cut so that the line still ends with its line end.
constexpr size_t kMaxLogLine = 199;
std::string FormatLogLine(int hours, int minutes, int seconds, const std::string& message);

// The file part of a path: after the last '\\' or '/'.
const char* BaseName(const char* path);
