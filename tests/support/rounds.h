// How many rounds a reliability test makes.
#pragma once

#include <algorithm>
#include <cstdlib>

namespace noxd_test {

// The long form under ./run soak (NOXD_SOAK set); else the short form,
// scaled by NOXD_ROUNDS_PERCENT where a slow machine asks for fewer (the
// emulated guest, tools/guest/tests.list), at least one round.
inline int Rounds(int short_form, int long_form) {
    if (std::getenv("NOXD_SOAK")) return long_form;
    const char* percent = std::getenv("NOXD_ROUNDS_PERCENT");
    if (!percent) return short_form;
    return std::max(1, static_cast<int>(static_cast<long long>(short_form) * std::atoi(percent) / 100));
}

}  // namespace noxd_test
