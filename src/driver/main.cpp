// ncabs: converts an incremental (G91) NC part program into the same program
// in absolute coordinates (G90).
//
//   ncabs [input [output]]
//
// A missing name is asked for at the console; so is the start position,
// unless the program's mode line is a G92 line.

#include "driver/run_files.h"
#include "driver/run_passes.h"
#include "driver/standard_streams.h"

namespace {

// Large buffers live for the whole run, outside the stack.
ncabs::RunFiles files;
ncabs::LineBuffer line;

}  // namespace

int main(int argc, char** argv) {
    ncabs::guard_standard_streams();
    ncabs::Console console;
    ncabs::ConversionState state;
    ncabs::open_run_files(argc, argv, console, files);
    if (!ncabs::run_conversion_passes(files, console, line, state)) ncabs::stop_run(files, console, 1);
    return ncabs::close_run_files(files);
}
