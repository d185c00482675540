#include "CommandLine.h"

#include <charconv>
#include <utility>

const char* const UsageText =
    "Usage:\n"
    "  ambla-viewer [FILE]                 open the viewer (optionally on a 3D log file)\n"
    "  ambla-viewer --stats FILE           print the statistics of a 3D log file\n"
    "  ambla-viewer --check FILE           list every fault of a 3D log file as\n"
    "                                      FILE:LINE:COLUMN: message\n"
    "  ambla-viewer --dump FILE [--steps N]\n"
    "                                      print the loaded project as JSON, after N\n"
    "                                      playback steps (default 0)\n"
    "  ambla-viewer --help | -h            print this text\n"
    "  ambla-viewer --version              print the version\n";

namespace {

std::optional<std::int32_t> ParseSteps(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    if (args.empty()) {
        return line;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        line.Mode = TCommandLine::TMode::Help;
        return line;
    }
    if (args.size() == 1 && args[0] == "--version") {
        line.Mode = TCommandLine::TMode::Version;
        return line;
    }
    for (const auto& [option, mode] : {std::pair{"--stats", TCommandLine::TMode::Stats},
                                       std::pair{"--check", TCommandLine::TMode::Check}}) {
        if (args[0] == option) {
            if (args.size() != 2) {
                return std::nullopt;
            }
            line.Mode = mode;
            line.FileName = args[1];
            return line;
        }
    }
    if (args[0] == "--dump") {
        if (args.size() != 2 && !(args.size() == 4 && args[2] == "--steps")) {
            return std::nullopt;
        }
        line.Mode = TCommandLine::TMode::Dump;
        line.FileName = args[1];
        if (args.size() == 4) {
            const auto steps = ParseSteps(args[3]);
            if (!steps) {
                return std::nullopt;
            }
            line.Steps = *steps;
        }
        return line;
    }
    if (args[0].rfind("--", 0) == 0) {
        return std::nullopt;
    }
    // The window takes the first argument as the file to open and ignores the rest.
    line.FileName = args[0];
    return line;
}
