#include "CommandLine.h"

#include <charconv>
#include <string_view>
#include <utility>

const char* const UsageText =
    "Usage:\n"
    "  ambla-viewer [FILE]                 open the viewer (optionally on a 3D log file)\n"
    "  ambla-viewer --stats FILE           print the statistics of a 3D log file\n"
    "  ambla-viewer --check FILE           list every fault of a 3D log file as\n"
    "                                      FILE:LINE:COLUMN: message\n"
    "  ambla-viewer --curve FILE           print the evacuation curve of a 3D log file as\n"
    "                                      CSV: per second the time, the persons saved\n"
    "                                      and the persons on each deck\n"
    "  ambla-viewer --render FILE --out DIR [--deck D] [--from S] [--to T]\n"
    "               [--every K] [--size WxH]\n"
    "                                      write the frames of the replay of deck D\n"
    "                                      (default 0) from step S (default 0) to step T\n"
    "                                      (default: when everybody has left), every K\n"
    "                                      steps, as DIR/NNNNNN.jpg of W x H pixels\n"
    "                                      (default 1280x720); needs no display\n"
    "  ambla-viewer --dump FILE [--steps N]\n"
    "                                      print the loaded project as JSON, after N\n"
    "                                      playback steps (default 0)\n"
    "  ambla-viewer --help | -h            print this text\n"
    "  ambla-viewer --version              print the version\n";

namespace {

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseSteps(std::string_view text) {
    const auto steps = ParseInteger(text);
    if (!steps || *steps < 0) {
        return std::nullopt;
    }
    return steps;
}

// "WxH", two whole numbers.
bool ParseSize(std::string_view text, TRenderRequest& request) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto width = ParseInteger(text.substr(0, x));
    const auto height = ParseInteger(text.substr(x + 1));
    if (!width || !height) {
        return false;
    }
    request.Width = *width;
    request.Height = *height;
    return true;
}

bool ParseRenderOption(const std::string& option, const std::string& value,
                       TRenderRequest& request) {
    if (option == "--out") {
        request.OutDir = value;
        return !value.empty();
    }
    if (option == "--size") {
        return ParseSize(value, request);
    }
    const auto number = ParseInteger(value);
    if (!number) {
        return false;
    }
    if (option == "--deck") {
        request.Deck = *number;
    } else if (option == "--from") {
        request.From = *number;
    } else if (option == "--to") {
        request.To = *number;
    } else if (option == "--every") {
        request.Every = *number;
    } else {
        return false;
    }
    return true;
}

// --render FILE followed by options, each with its value, in any order; --out is required.
std::optional<TCommandLine> ParseRender(const std::vector<std::string>& args) {
    if (args.size() < 2 || args.size() % 2 != 0) {
        return std::nullopt;
    }
    TCommandLine line;
    line.Mode = TCommandLine::TMode::Render;
    line.FileName = args[1];
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (!ParseRenderOption(args[i], args[i + 1], line.Render)) {
            return std::nullopt;
        }
    }
    if (line.Render.OutDir.empty()) {
        return std::nullopt;
    }
    return line;
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
                                       std::pair{"--check", TCommandLine::TMode::Check},
                                       std::pair{"--curve", TCommandLine::TMode::Curve}}) {
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
    if (args[0] == "--render") {
        return ParseRender(args);
    }
    if (args[0].rfind("--", 0) == 0) {
        return std::nullopt;
    }
    // The window takes the first argument as the file to open and ignores the rest.
    line.FileName = args[0];
    return line;
}
