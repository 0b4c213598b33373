// qm7100: the command-line tool of QM7100 Workdesk.
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    return qm::cli::RunCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
}
