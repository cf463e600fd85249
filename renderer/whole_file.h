// Writing a file so that a reader never sees it half written.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace noxd {

// Writes the bytes to a temporary name in the path's folder, then renames it
// over the path. A reader holding the old file open delays the rename for a
// moment; if it still fails, the temporary file is removed and the error
// returned. Any thread.
HRESULT WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes);

}  // namespace noxd
