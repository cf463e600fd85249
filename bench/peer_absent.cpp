// The peer where SDL2 was not built for this target.
#include "benches.h"

namespace bench {

Result PeerVsSdl2(const Options&) {
    return {2, "Peer: SDL2", "not measured: SDL2 is built for the target by ./run bench --peers\n",
            false, false};
}

}  // namespace bench
