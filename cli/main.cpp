#include "cli/cli.h"

int main(int argc, char** argv) {
    return pixmorph::cli::run(argc, argv);
}
