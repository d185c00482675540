#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <set>
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
    "  ambla-viewer --congestion FILE [ANALYSIS OPTIONS]\n"
    "                                      print the congested regions of a 3D log\n"
    "                                      file as CSV\n"
    "  ambla-viewer --flows FILE [--per-second] [ANALYSIS OPTIONS]\n"
    "                                      print the exits and stairs of a 3D log file\n"
    "                                      and the persons passing them as CSV\n"
    "  ambla-viewer --summary FILE... [--csv OUT] [ANALYSIS OPTIONS]\n"
    "                                      summarise many runs of a scenario: per\n"
    "                                      log the persons and the times at which\n"
    "                                      everybody, half and nine tenths have\n"
    "                                      left; over the logs the least, mean, 95 %\n"
    "                                      value and greatest; a FILE may be a folder\n"
    "                                      of .3dl files\n"
    "  ambla-viewer --merge CSV...         the same figures over the tables of runs\n"
    "                                      that --summary --csv wrote\n"
    "  ambla-viewer --dump FILE [--steps N]\n"
    "                                      print the loaded project as JSON\n"
    "  ambla-viewer --person N FILE        print the track of person N (from 1, in\n"
    "                                      the order of the file) as CSV: per time\n"
    "                                      step the time, deck, cell and direction\n"
    "  ambla-viewer --render FILE (--out DIR | --video OUT.mp4 [--fps N] [--speed K])\n"
    "               [--deck D] [--from S] [--to T]\n"
    "               [--every K] [--size WxH]\n"
    "               [--camera top|side|oblique|plan | --camera-file CAMERA.json]\n"
    "               [--colour-waiting] [--waiting-limit S] [--map] [--map-whole]\n"
    "               [--hide-persons] [--trails] [--trail-seconds S] [--follow N]\n"
    "               [--caption] [--scale] [--cell-size M]\n"
    "                                      write the frames of a replay as\n"
    "                                      DIR/NNNNNN.jpg, or as an MP4 video;\n"
    "                                      needs no display\n"
    "  ambla-viewer --help | -h            print this text\n"
    "  ambla-viewer --version              print the version\n"
    "\n"
    "Options of --dump:\n"
    "  --steps N       play N time steps from the start, one at a time, before the\n"
    "                  JSON is written (default 0); past the end of the replay the\n"
    "                  time step counts on, with everybody gone\n"
    "\n"
    "Options of --summary:\n"
    "  --csv OUT       also write a row per log to OUT as CSV:\n"
    "                  file,persons,all_left_s,p50_s,p90_s,significant_regions,fault\n"
    "\n"
    "Analysis options of --congestion, --flows and --summary, in any order, each once:\n"
    "  --cell-size M   the side of a cell in metres, to the millimetre (default 0.4)\n"
    "  --density D     the persons per square metre above which a cell is congested,\n"
    "                  to a tenth (default 4)\n"
    "  --window M      the side of the square around a cell its density is taken\n"
    "                  in, in metres, to the millimetre (default 2)\n"
    "  --share P       a region is significant when its longest congestion lasts\n"
    "                  longer than P percent, 0 to 100, of the time at which\n"
    "                  everybody has left (default 10)\n"
    "  --per-second    (--flows only) a last column with the persons passing in each\n"
    "                  whole second of replay time, as TIME:COUNT;TIME:COUNT\n"
    "\n"
    "Options of --render, in any order, each once:\n"
    "  --out DIR       the folder for the frames, made when it is missing\n"
    "  --video OUT.mp4 a video (H.264) in place of the frames: frame i shows step\n"
    "                  FROM + round(i x steps a second x K / N), up to the last step\n"
    "  --fps N         the video's frames a second, 1 to 120 (default 25)\n"
    "  --speed K       the seconds of replay a second of video shows, to a\n"
    "                  thousandth (default 1)\n"
    "  --deck D        the deck shown: its number, from 0 (default 0), or else its\n"
    "                  caption, matched exactly or, failing that, ignoring the case\n"
    "                  of letters A to Z; digits alone, with an optional minus, are\n"
    "                  a number\n"
    "  --from S        the step of the first frame (default 0)\n"
    "  --to T          the step of the last frame (default: the end of the replay,\n"
    "                  the first whole second at or after everybody has left)\n"
    "  --every K       the steps from one frame to the next (default 1)\n"
    "  --size WxH      the frames' width and height in pixels (default 1280x720,\n"
    "                  at most 16384 a side)\n"
    "  --camera VIEW   top: straight down; side: level with the deck from its bottom\n"
    "                  edge, deck upright; oblique: halfway between; plan: straight\n"
    "                  down without perspective, north up, persons flat inside their\n"
    "                  cells; each fitted to the whole deck (default: the camera the\n"
    "                  window has after a load)\n"
    "  --camera-file CAMERA.json  the camera saved in the window by Views > Save\n"
    "                  camera...: its angles, distance and pan as they were, and\n"
    "                  the deck it showed unless --deck is given; not with --camera\n"
    "  --colour-waiting  persons coloured by the seconds each has stood still in a\n"
    "                  row: green while moving, then dark blue through purple and\n"
    "                  orange to yellow at the limit and above, with a legend\n"
    "  --waiting-limit S  where that scale ends, in seconds (default 30)\n"
    "  --map           the congestion map over the floor, with its legend: the\n"
    "                  person-seconds stood on each cell up to each frame's time,\n"
    "                  one scale (the whole replay's) for all decks and frames\n"
    "  --map-whole     the congestion map of the whole replay in every frame\n"
    "  --hide-persons  with --map, the persons left out, so that nothing hides the map\n"
    "  --trails        each person's way of the last seconds on its deck, as a\n"
    "                  line above the floor that fades with age\n"
    "  --trail-seconds S  how far back the trails reach, in seconds (default 10)\n"
    "  --follow N      the person N selected and followed: the camera keeps it in\n"
    "                  the centre and goes with it to another deck\n"
    "  --caption       the time, the deck and the saved count in the upper left\n"
    "                  corner of every frame\n"
    "  --scale         a scale bar in metres in the lower right corner: the longest\n"
    "                  1, 2 or 5 times a power of ten metres within a quarter of the\n"
    "                  frame's width; measured where the centre of the view meets\n"
    "                  the floor, exact everywhere in the plan\n"
    "  --cell-size M   the side of a cell in metres for the scale bar (default 0.4)\n"
    "\n"
    "A value or FILE may be anything but one of the options above. A mistake in the\n"
    "arguments is named on stderr, and the program exits with code 2.\n";

namespace {

using TMode = TCommandLine::TMode;

// The first mistake, thrown where it is found and caught by ParseCommandLine.
struct TMistake {
    std::string Text;
};

[[noreturn]] void Refuse(std::string text) {
    throw TMistake{std::move(text)};
}

// Thrown by a value's reader: what is wrong with the value; empty when "not what the option
// expects" says it all.
struct TBadValue {
    std::string Problem;
};

// Decimal digits, none or more.
bool IsDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Decimal digits with an optional minus before them: what the options take as a number.
bool IsWholeNumber(std::string_view text) {
    const std::string_view digits = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
    return !digits.empty() && IsDigits(digits);
}

// A whole number from least to most.
std::int32_t Number(std::string_view text,
                    std::int32_t least = std::numeric_limits<std::int32_t>::min(),
                    std::int32_t most = std::numeric_limits<std::int32_t>::max()) {
    if (!IsWholeNumber(text)) {
        throw TBadValue{"not a whole number"};
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < least || value > most) {
        throw TBadValue{"out of range"};
    }
    return value;
}

// A decimal number (digits with at most one point) in units of 10^-places, read exactly and
// rounded half up: "0.4" with 3 places is 400. At least 1 unit.
std::int32_t Decimal(std::string_view text, std::size_t places) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !IsDigits(whole) || !IsDigits(fraction)) {
        throw TBadValue{"not a decimal number"};
    }
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    std::int64_t units = 0;
    for (const char digit : whole) {
        units = std::min(units * 10 + (digit - '0'), most + 1); // stops where it is too large
    }
    for (std::size_t i = 0; i < places; ++i) {
        units = units * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    if (fraction.size() > places && fraction[places] >= '5') {
        ++units;
    }
    if (units < 1 || units > most) {
        throw TBadValue{"out of range"};
    }
    return static_cast<std::int32_t>(units);
}

// "WxH", two whole numbers.
void ReadSize(std::string_view text, TRenderRequest& request) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos || !IsWholeNumber(text.substr(0, x)) ||
        !IsWholeNumber(text.substr(x + 1))) {
        throw TBadValue{};
    }
    request.Width = Number(text.substr(0, x));
    request.Height = Number(text.substr(x + 1));
}

std::string NotEmpty(const std::string& text) {
    if (text.empty()) {
        throw TBadValue{"empty"};
    }
    return text;
}

// A deck by its number when the value is a number, else by its caption.
void ReadDeck(const std::string& text, TRenderRequest& request) {
    request.DeckGiven = true;
    if (IsWholeNumber(text)) {
        request.Deck = Number(text);
    } else {
        request.DeckCaption = NotEmpty(text);
    }
}

TRenderCamera Camera(std::string_view text) {
    for (const auto& [name, camera] :
         {std::pair{"top", TRenderCamera::Top}, std::pair{"side", TRenderCamera::Side},
          std::pair{"oblique", TRenderCamera::Oblique}, std::pair{"plan", TRenderCamera::Plan}}) {
        if (text == name) {
            return camera;
        }
    }
    throw TBadValue{};
}

// Reads a value into the command line; throws TBadValue.
using TValueReader = void (*)(const std::string& value, TCommandLine& line);

// A value that a mode takes between its option and its FILE.
struct TModeValue {
    std::string_view Name;     // as the usage names it
    std::string_view Expected; // what it is
    TValueReader Read;
};

constexpr TModeValue PersonNumber = {
    "N", "N, a person's number from 1",
    [](const std::string& value, TCommandLine& line) { line.Person = Number(value, 1); }};

// What a mode takes after its option (and its value): nothing, one FILE, or one or more.
enum class TFiles { None, One, Many };

// The options that choose a mode; giving none opens the window.
struct TModeOption {
    std::string_view Name;
    TMode Mode;
    TFiles Files;
    const TModeValue* Value = nullptr; // before the FILE
};

constexpr TModeOption ModeOptions[] = {
    {"--stats", TMode::Stats, TFiles::One},
    {"--check", TMode::Check, TFiles::One},
    {"--curve", TMode::Curve, TFiles::One},
    {"--congestion", TMode::Congestion, TFiles::One},
    {"--flows", TMode::Flows, TFiles::One},
    {"--summary", TMode::Summary, TFiles::Many},
    {"--merge", TMode::Merge, TFiles::Many},
    {"--dump", TMode::Dump, TFiles::One},
    {"--person", TMode::Person, TFiles::One, &PersonNumber},
    {"--render", TMode::Render, TFiles::One},
    {"--help", TMode::Help, TFiles::None},
    {"-h", TMode::Help, TFiles::None},
    {"--version", TMode::Version, TFiles::None},
};

// The modes that take an option, one bit each.
using TModeSet = std::uint32_t;

constexpr TModeSet ModeBit(TMode mode) {
    return TModeSet{1} << static_cast<unsigned>(mode);
}

constexpr TModeSet AnalysisModes =
    ModeBit(TMode::Congestion) | ModeBit(TMode::Flows) | ModeBit(TMode::Summary);

// The options that follow a mode's FILE, each with its value, or a switch without one.
struct TValueOption {
    std::string_view Name;
    TModeSet Modes;            // the modes that take it
    std::string_view Expected; // what its value is
    TValueReader Read;
    bool TakesValue = true;
};

// Metres to the millimetre, tenths of persons per square metre.
constexpr std::size_t MillimetrePlaces = 3;
constexpr std::size_t TenthPlaces = 1;

// What --out and --video take, also named when both are missing.
constexpr std::string_view OutDirExpected = "DIR, the folder for the frames";
constexpr std::string_view VideoExpected = "OUT.mp4, the video file";

constexpr TValueOption ValueOptions[] = {
    {"--steps", ModeBit(TMode::Dump), "N, a number of steps from 0 to 2147483647",
     [](const std::string& value, TCommandLine& line) { line.Steps = Number(value, 0); }},
    {"--out", ModeBit(TMode::Render), OutDirExpected,
     [](const std::string& value, TCommandLine& line) { line.Render.OutDir = NotEmpty(value); }},
    {"--video", ModeBit(TMode::Render), VideoExpected,
     [](const std::string& value, TCommandLine& line) { line.Render.VideoFile = NotEmpty(value); }},
    {"--fps", ModeBit(TMode::Render), "N, the video's frames a second, 1 to 120",
     [](const std::string& value, TCommandLine& line) {
         line.Render.FramesPerSecond = Number(value, 1, 120);
     }},
    {"--speed", ModeBit(TMode::Render),
     "K, the seconds of replay a second of video shows, at least 0.001",
     [](const std::string& value, TCommandLine& line) {
         line.Render.SpeedThousandths = Decimal(value, MillimetrePlaces);
     }},
    {"--deck", ModeBit(TMode::Render), "D, a deck's number from 0 or its caption",
     [](const std::string& value, TCommandLine& line) { ReadDeck(value, line.Render); }},
    {"--from", ModeBit(TMode::Render), "S, the step of the first frame, from 0",
     [](const std::string& value, TCommandLine& line) { line.Render.From = Number(value); }},
    {"--to", ModeBit(TMode::Render), "T, the step of the last frame, from 0",
     [](const std::string& value, TCommandLine& line) { line.Render.To = Number(value); }},
    {"--every", ModeBit(TMode::Render), "K, the steps from one frame to the next, from 1",
     [](const std::string& value, TCommandLine& line) { line.Render.Every = Number(value); }},
    {"--size", ModeBit(TMode::Render), "WIDTHxHEIGHT in pixels, e.g. 1280x720",
     [](const std::string& value, TCommandLine& line) { ReadSize(value, line.Render); }},
    {"--camera", ModeBit(TMode::Render), "top, side, oblique or plan",
     [](const std::string& value, TCommandLine& line) { line.Render.Camera = Camera(value); }},
    {"--camera-file", ModeBit(TMode::Render), "CAMERA.json, a camera file the window saved",
     [](const std::string& value, TCommandLine& line) {
         line.Render.CameraFile = NotEmpty(value);
     }},
    {"--colour-waiting", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.ColourByWaiting = true; }, false},
    {"--waiting-limit", ModeBit(TMode::Render),
     "S, the seconds where the colours of waiting end, from 1",
     [](const std::string& value, TCommandLine& line) {
         line.Render.WaitingLimit = Number(value, 1);
     }},
    {"--map", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.CongestionMap = true; }, false},
    {"--map-whole", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) {
         line.Render.CongestionMap = true;
         line.Render.MapWholeReplay = true;
     },
     false},
    {"--hide-persons", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.HidePersonsOnMap = true; }, false},
    {"--trails", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.Trails = true; }, false},
    {"--trail-seconds", ModeBit(TMode::Render), "S, the seconds a trail reaches back, from 1",
     [](const std::string& value, TCommandLine& line) {
         line.Render.TrailSeconds = Number(value, 1);
     }},
    {"--follow", ModeBit(TMode::Render), "N, the number of the person followed, from 1",
     [](const std::string& value, TCommandLine& line) { line.Render.Follow = Number(value, 1); }},
    {"--caption", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.Caption = true; }, false},
    {"--scale", ModeBit(TMode::Render), "",
     [](const std::string&, TCommandLine& line) { line.Render.ScaleBar = true; }, false},
    {"--cell-size", AnalysisModes | ModeBit(TMode::Render),
     "M, the side of a cell in metres, at least 0.001",
     [](const std::string& value, TCommandLine& line) {
         line.Analysis.CellSizeMm = Decimal(value, MillimetrePlaces);
         line.Render.CellSizeMm = line.Analysis.CellSizeMm;
     }},
    {"--density", AnalysisModes,
     "D, the persons per square metre above which a cell is congested, at least 0.1",
     [](const std::string& value, TCommandLine& line) {
         line.Analysis.CongestionDensityTenths = Decimal(value, TenthPlaces);
     }},
    {"--window", AnalysisModes,
     "M, the side of the square a density is taken in, in metres, at least 0.001",
     [](const std::string& value, TCommandLine& line) {
         line.Analysis.DensityWindowMm = Decimal(value, MillimetrePlaces);
     }},
    {"--share", AnalysisModes, "P, a whole percentage from 0 to 100",
     [](const std::string& value, TCommandLine& line) {
         line.Analysis.SignificantSharePercent = Number(value, 0, 100);
     }},
    {"--csv", ModeBit(TMode::Summary), "OUT, the file for the table of runs",
     [](const std::string& value, TCommandLine& line) { line.CsvOut = NotEmpty(value); }},
    {"--per-second", ModeBit(TMode::Flows), "",
     [](const std::string&, TCommandLine& line) { line.PerSecond = true; }, false},
};

const TModeOption* FindModeOption(std::string_view name) {
    for (const TModeOption& option : ModeOptions) {
        if (option.Name == name) {
            return &option;
        }
    }
    return nullptr;
}

const TValueOption* FindValueOption(std::string_view name) {
    for (const TValueOption& option : ValueOptions) {
        if (option.Name == name) {
            return &option;
        }
    }
    return nullptr;
}

// One of the options above: never taken as a FILE or a value.
bool IsOption(std::string_view arg) {
    return FindModeOption(arg) != nullptr || FindValueOption(arg) != nullptr;
}

// A dash and more; "-" alone names a file.
bool LooksLikeOption(std::string_view arg) {
    return arg.size() > 1 && arg.front() == '-';
}

// "a, b or c".
std::string ListText(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == names.size() ? " or " : ", ");
        text += names[i];
    }
    return text;
}

// The mode's option with the value it takes before its FILE: "--person N".
std::string ModeUsage(const TModeOption& mode) {
    std::string usage(mode.Name);
    if (mode.Value != nullptr) {
        usage += " ";
        usage += mode.Value->Name;
    }
    return usage;
}

// What may follow a mode's option, as the mistakes after it say.
std::string WhatModeTakes(const TModeOption& mode) {
    const std::string name = ModeUsage(mode);
    if (mode.Files == TFiles::None) {
        return name + " takes no arguments";
    }
    std::vector<std::string_view> options;
    for (const TValueOption& option : ValueOptions) {
        if ((option.Modes & ModeBit(mode.Mode)) != 0) {
            options.push_back(option.Name);
        }
    }
    const std::string files = mode.Files == TFiles::Many ? " FILE..." : " FILE";
    return options.empty()
               ? name + (mode.Files == TFiles::Many ? " takes files only" : " takes just one FILE")
               : name + files + " takes " + ListText(options);
}

// An option of some modes given without them, or with another.
[[noreturn]] void RefuseOptionOfOtherMode(const TValueOption& option) {
    std::vector<std::string> modes;
    for (const TModeOption& mode : ModeOptions) {
        if ((option.Modes & ModeBit(mode.Mode)) != 0) {
            modes.push_back(std::string(mode.Name) + " FILE");
        }
    }
    Refuse(std::string(option.Name) + ": only " +
           ListText(std::vector<std::string_view>(modes.begin(), modes.end())) +
           " takes this option");
}

// The first argument when it chooses no mode: the window's FILE, or a mistake.
void CheckWindowFile(const std::string& arg) {
    if (const TValueOption* option = FindValueOption(arg)) {
        RefuseOptionOfOtherMode(*option);
    }
    if (LooksLikeOption(arg)) {
        std::vector<std::string_view> modes;
        for (const TModeOption& mode : ModeOptions) {
            modes.push_back(mode.Name);
        }
        Refuse(arg + ": unknown option; expected FILE or one of " + ListText(modes));
    }
}

// An option after the window's FILE is a mode or option put in the wrong place, which the window
// would otherwise ignore without a word.
void CheckNothingAfterWindowFile(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!LooksLikeOption(args[i])) {
            continue;
        }
        std::string text =
            args[0] + " " + args[i] + ": an option after FILE; the window takes FILE alone";
        if (const TModeOption* mode = FindModeOption(args[i])) {
            text += "; a mode comes first: ambla-viewer " + std::string(mode->Name) + " " + args[0];
        }
        Refuse(text);
    }
}

// The option arg, which must be one the mode takes.
const TValueOption& OptionOfMode(const TModeOption& mode, const std::string& arg) {
    if (FindModeOption(arg) != nullptr) {
        Refuse(arg + ": one mode at a time; " + std::string(mode.Name) + " is already given");
    }
    const TValueOption* option = FindValueOption(arg);
    if (option != nullptr && (option->Modes & ModeBit(mode.Mode)) == 0) {
        RefuseOptionOfOtherMode(*option);
    }
    if (option == nullptr) {
        Refuse(arg + (LooksLikeOption(arg) ? ": unknown option; " : ": unexpected argument; ") +
               WhatModeTakes(mode));
    }
    return *option;
}

// The value of option `name`, read by read; a bad value is refused with what was expected.
void ReadValue(std::string_view name, std::string_view expected, TValueReader read,
               const std::string& value, TCommandLine& line) {
    try {
        read(value, line);
    } catch (const TBadValue& bad) {
        Refuse(std::string(name) + " " + (value.empty() ? "''" : value) + ": " +
               (bad.Problem.empty() ? "" : bad.Problem + "; ") + "expected " +
               std::string(expected));
    }
}

// The value at args[at], which must be there and be no option.
void RequireValue(const std::vector<std::string>& args, std::size_t at, std::string_view expected) {
    if (at == args.size() || IsOption(args[at])) {
        Refuse(args[at - 1] + ": missing value; expected " + std::string(expected));
    }
}

// The options after a mode's FILE: each once, each with its value.
void ReadModeOptions(const TModeOption& mode, const std::vector<std::string>& args,
                     std::size_t first, TCommandLine& line) {
    std::set<std::string_view> given;
    for (std::size_t i = first; i < args.size(); ++i) {
        const TValueOption& option = OptionOfMode(mode, args[i]);
        if (!given.insert(option.Name).second) {
            Refuse(args[i] + ": given twice; expected once");
        }
        if (!option.TakesValue) {
            option.Read({}, line);
            continue;
        }
        RequireValue(args, i + 1, option.Expected);
        ReadValue(option.Name, option.Expected, option.Read, args[i + 1], line);
        ++i;
    }
}

// The first `count` arguments, as a mistake right after them names them: "--person 3".
std::string Joined(const std::vector<std::string>& args, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : " ") + args[i];
    }
    return text;
}

// A mode's option, its value if it takes one, its FILE, then its options; or the window's FILE.
TCommandLine ReadArguments(const std::vector<std::string>& args) {
    TCommandLine line;
    if (args.empty()) {
        return line;
    }
    const TModeOption* mode = FindModeOption(args[0]);
    if (mode == nullptr) {
        CheckWindowFile(args[0]);
        CheckNothingAfterWindowFile(args);
        // The window takes the first argument as the file to open and ignores further files.
        line.FileName = args[0];
        return line;
    }
    line.Mode = mode->Mode;
    std::size_t next = 1;
    if (const TModeValue* value = mode->Value) {
        RequireValue(args, next, value->Expected);
        ReadValue(mode->Name, value->Expected, value->Read, args[next++], line);
    }
    if (mode->Files != TFiles::None) {
        if (next == args.size() || IsOption(args[next])) {
            Refuse(Joined(args, next) + ": missing FILE; expected the 3D log file after it");
        }
        line.FileName = args[next++];
        line.FileNames.push_back(line.FileName);
    }
    if (mode->Files == TFiles::Many) {
        while (next < args.size() && !IsOption(args[next])) {
            line.FileNames.push_back(args[next++]);
        }
    }
    ReadModeOptions(*mode, args, next, line);
    if (line.Mode == TMode::Render && line.Render.OutDir.empty() && line.Render.VideoFile.empty()) {
        Refuse(args[0] + ": missing --out; expected --out " + std::string(OutDirExpected) +
               " or --video " + std::string(VideoExpected));
    }
    if (line.Mode == TMode::Render && !line.Render.OutDir.empty() &&
        !line.Render.VideoFile.empty()) {
        Refuse("--video: frames or a video, not both; --out is already given");
    }
    if (line.Mode == TMode::Render && !line.Render.CameraFile.empty() &&
        line.Render.Camera != TRenderCamera::AfterLoad) {
        Refuse("--camera-file: a saved camera or a preset one, not both; --camera is already "
               "given");
    }
    if (line.Mode == TMode::Render && line.Render.VideoFile.empty()) {
        for (const auto& [name, given] :
             {std::pair{"--fps", line.Render.FramesPerSecond.has_value()},
              std::pair{"--speed", line.Render.SpeedThousandths.has_value()}}) {
            if (given) {
                Refuse(std::string(name) +
                       ": only --render FILE --video OUT.mp4 takes this option");
            }
        }
    }
    return line;
}

} // namespace

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    try {
        return {ReadArguments(args), {}};
    } catch (const TMistake& mistake) {
        return {std::nullopt, mistake.Text};
    }
}

std::string MistakeReport(const std::string& mistake) {
    return "ambla-viewer: " + mistake + "\nTry 'ambla-viewer --help' for more information.\n";
}
