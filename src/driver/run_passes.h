// The conversion passes in their fixed order, over files already open.
#pragma once

#include "conversion/conversion_state.h"
#include "driver/console.h"
#include "driver/run_files.h"

namespace ncabs {

// Copies the preamble, settles the start position and converts the body.
// Returns false when the preamble pass ended the run early (the caller
// stops with status 1); true when the whole program was converted.
bool run_conversion_passes(RunFiles& files, const Console& console, LineBuffer& line, ConversionState& state);

}  // namespace ncabs
