// orvanta-make-large FOLDER SCENES [DISTINCT_FILES | --near-misses MISSING | --conjunctions | --dead-ends]:
// writes the benchmark project (see LargeProject.h) into FOLDER and prints
// its project file.

#include "bench/LargeProject.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const bool nearMisses = argc == 5 && std::string(argv[3]) == "--near-misses";
    const bool deadEnds = argc == 4 && std::string(argv[3]) == "--dead-ends";
    const bool conjunctions = deadEnds || (argc == 4 && std::string(argv[3]) == "--conjunctions");
    if (argc < 3 || argc > 5 || (argc == 5 && !nearMisses)) {
        std::cerr << "usage: orvanta-make-large FOLDER SCENES [DISTINCT_FILES | --near-misses MISSING | "
                     "--conjunctions | --dead-ends]\n";
        return 2;
    }
    try {
        orv::bench::LargeProjectShape shape;
        shape.scenes = std::stoi(argv[2]);
        shape.conjunctions = conjunctions;
        shape.deadEnds = deadEnds;
        if (nearMisses)
            shape.nearMisses = std::stoi(argv[4]);
        else if (!conjunctions)
            shape.distinctFiles = argc == 4 ? std::stoi(argv[3]) : 0;
        if (shape.scenes < 0 || shape.scenes > 32767)
            throw std::out_of_range("a project holds 0 to 32767 scenes");
        std::cout << orv::bench::WriteLargeProject(argv[1], shape).string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "orvanta-make-large: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
