#include "checker.hpp"
#include "generate.hpp"
#include "options.hpp"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    gen3dl::Options opts;
    std::string error;
    switch (gen3dl::parseOptions(argc, argv, opts, error)) {
    case gen3dl::ParseResult::Help:
        gen3dl::printUsage(stdout);
        return 0;
    case gen3dl::ParseResult::Error:
        std::fprintf(stderr, "gen3dl: %s\n", error.c_str());
        gen3dl::printUsage(stderr);
        return 2;
    case gen3dl::ParseResult::Run:
        break;
    }
    if (!opts.check.empty()) {
        return gen3dl::checkFile(opts.check);
    }
    return gen3dl::generate(opts);
}
