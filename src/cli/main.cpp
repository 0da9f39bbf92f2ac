#include "cli/QrbTool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return qrb::QrbTool::run(args, std::cout, std::cerr);
}
