// Text conversion and the program's folder, for command-line text, paths and
// window titles.
#pragma once

#include <string>

namespace viewer {

// UTF-8 to UTF-16 and back.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace viewer
