#include "driver/run_passes.h"

#include "conversion/body_pass.h"
#include "conversion/preamble.h"

namespace ncabs {

bool run_conversion_passes(RunFiles& files, const Console& console, LineBuffer& line, ConversionState& state) {
    if (copy_preamble(files, console, line) != PreambleEnd::ModeLine) return false;
    establish_start_position(line, files.output, console, state);
    run_body_pass(files, line, state);
    return true;
}

}  // namespace ncabs
