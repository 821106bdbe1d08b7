#include <iostream>

#include "cli/kelvane_tool.h"

int main(int argc, char** argv) {
    kelvane::kelvane_tool tool(std::cout, std::cerr);
    return tool.run(argc, argv);
}
