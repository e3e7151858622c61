#include "driver/text_output.h"

#include <cstring>

namespace ncabs {

bool flush_output(OutputStream& out) {
    if (out.used == 0) return !out.failed;
    std::size_t written = 0;
    if (out.file != nullptr) written = std::fwrite(out.block, 1, out.used, out.file);
    if (written != out.used) out.failed = true;
    out.used = 0;
    return !out.failed;
}

void put_bytes_slowly(OutputStream& out, const char* bytes, std::size_t n) {
    // A run larger than the room left: fill the block, flush, repeat.
    while (n > 0) {
        if (out.used == kOutputBlockSize) flush_output(out);
        std::size_t room = kOutputBlockSize - out.used;
        std::size_t take = n < room ? n : room;
        std::memcpy(out.block + out.used, bytes, take);
        out.used += take;
        bytes += take;
        n -= take;
    }
}

}  // namespace ncabs
