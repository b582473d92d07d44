// vyn_demo_gen FOLDER: writes the demo method library and the demo plate into FOLDER
// (resources/demo in the source tree).
#include <cstdio>
#include <string>

#include "DemoData.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vyn_demo_gen FOLDER\n");
        return 2;
    }
    std::string error;
    if (!vyn::WriteDemoFiles(argv[1], error)) {
        std::fprintf(stderr, "vyn_demo_gen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
