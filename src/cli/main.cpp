#include "cli/Cli.h"
#include "cli/FdStreamBuf.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Standard output through a buffer that keeps the reason of a failed
    // write, so that "disk full" or a closed output is reported.
    orv::FdStreamBuf outBuffer(STDOUT_FILENO);
    std::ostream out(&outBuffer);
    return orv::runCli(args, {out, std::cerr, isatty(STDERR_FILENO) == 1, isatty(STDOUT_FILENO) == 1});
}
