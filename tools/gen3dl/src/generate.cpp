#include "generate.hpp"

#include "encoders.hpp"
#include "evacuation.hpp"
#include "output.hpp"
#include "persons.hpp"
#include "solo_walks.hpp"
#include "world.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace gen3dl {
namespace {

void writeHeader(Output& out, const World& w, const Options& o, std::size_t persons) {
    out.line("<header>");
    const std::pair<const char*, long long> keys[] = {{"pmax", static_cast<long long>(persons)},
                                                      {"xmax", w.xmax},
                                                      {"ymax", w.ymax},
                                                      {"zmax", w.zmax},
                                                      {"vmax", o.vmax},
                                                      {"toff", o.toff},
                                                      {"version", 1}};
    for (const auto& [key, value] : keys) {
        out.put(key);
        out.put(' ');
        out.putInt(value);
        out.put('\n');
    }
    out.line("</header>");
}

void writeDeck(Output& out, const World& w, int z) {
    const Grid& g = w.deck(z);
    out.line("<deck>");
    out.put("caption ");
    out.line(w.captions[at(z)]);
    out.put("level ");
    out.putInt(z);
    out.put('\n');
    out.line("(celldata)");
    for (int y = 0; y < g.ymax(); ++y) {
        writeCellRow(out, g.data() + g.index(0, y), g.xmax());
    }
    out.line("</deck>");
}

void writeStarts(Output& out, const std::vector<Person>& persons) {
    for (const Person& p : persons) {
        out.putInt(p.x);
        out.put(' ');
        out.putInt(p.y);
        out.put(' ');
        out.putInt(p.z);
        out.put(' ');
        out.putInt(p.heading);
        out.put(' ');
        out.putInt(p.attribute);
        out.put('\n');
    }
}

// The lists of a crowd walked together are known before the file is opened; persons walked on
// their own are walked as their lists are written. Stops early once a write has failed: there
// is no point writing the rest of a huge file.
void writeMoves(Output& out, const World& w, const Options& o, const std::vector<Person>& ps,
                const std::vector<MoveText>& walkedTogether) {
    if (o.crowding == Crowding::Shared) {
        writeSoloWalks(out, w, o, ps);
        return;
    }
    for (std::size_t k = 0; k < walkedTogether.size() && !out.failed(); ++k) {
        out.put(walkedTogether[k].text());
    }
}

void writeFile(Output& out, const World& w, const Options& o, const std::vector<Person>& ps,
               const std::vector<MoveText>& lists) {
    writeHeader(out, w, o, ps.size());
    for (int z = 0; z < w.zmax && !out.failed(); ++z) {
        writeDeck(out, w, z);
    }
    out.line("<persons>");
    out.line("<startpositions>");
    writeStarts(out, ps);
    out.line("(movement)");
    writeMoves(out, w, o, ps, lists);
    out.line("</persons>");
}

std::FILE* openOutput(const Options& o) {
    if (o.out.empty()) {
        return stdout;
    }
    return std::fopen(o.out.c_str(), "wb");
}

// A truncated file must not look complete, but devices and pipes are not ours to delete.
void removeIfRegular(const std::string& path) {
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec)) {
        std::filesystem::remove(path, ec);
    }
}

} // namespace

int generate(const Options& opts) {
    World world;
    std::vector<Person> persons;
    try {
        world = buildWorld(opts);
        persons = placePersons(world, opts.persons, opts.seed, opts.crowding);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "gen3dl: %s\n", e.what());
        return 2;
    }
    std::vector<MoveText> lists;
    if (opts.crowding == Crowding::Queue) {
        lists = evacuate(world, persons, opts);
    }
    std::FILE* file = openOutput(opts);
    if (file == nullptr) {
        std::fprintf(stderr, "gen3dl: cannot open %s: %s\n", opts.out.c_str(),
                     std::strerror(errno));
        return 1;
    }
    Output out(file);
    writeFile(out, world, opts, persons, lists);
    std::string error;
    if (!out.close(error)) {
        const char* name = opts.out.empty() ? "standard output" : opts.out.c_str();
        std::fprintf(stderr, "gen3dl: writing %s failed: %s\n", name, error.c_str());
        removeIfRegular(opts.out);
        return 1;
    }
    return 0;
}

} // namespace gen3dl
