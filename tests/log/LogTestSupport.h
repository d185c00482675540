#pragma once
// Shared pieces of the model tests: a project loaded from text with the boxes the window would
// show recorded, a progress window that remembers what it was told, and a project written out as
// plain text.

#include "BoxReports.h"
#include "ByteSource.h"
#include "LogFile.h"
#include "RecordingUiServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// One message box as a line, so that a whole sequence of boxes compares and prints at once.
inline std::string BoxLine(const TRecordedMessage& m) {
    const char* icon = m.Icon == TMsgIcon::Exclamation ? "!"
                       : m.Icon == TMsgIcon::Error     ? "x"
                                                       : "-";
    return m.Title + " [" + icon + "] " + m.Text;
}
inline std::string WarningBox(const std::string& text) {
    return "Warning [!] " + text;
}
inline std::string NotANumber(int line, const std::string& text) {
    return WarningBox("Line " + std::to_string(line) + ": \"" + text +
                      "\" is not a valid number. It is skipped.");
}
// The box that ends a load's boxes once ten were shown; the projects of these tests load from
// memory as "test.3dl".
inline const std::string MoreWarningsBox =
    WarningBox("More warnings were found in this file; they are not shown one by one. To list "
               "them, run:\nambla-viewer --dump test.3dl");
inline const std::string DeckIndexBox =
    "Warning! [-] Warning, z in TLogFile1::LoadCellData(FILE *projectfile, int z) is <0 or >ZMax!";

class TRecordingProgress final : public IProgressWindow {
public:
    void Show() override { ++ShowCalls; }
    void SetProgress(int percent) override { Bars.push_back(percent); }
    void SetInfoText(const std::string& text) override { Infos.push_back(text); }

    int ShowCalls = 0;
    std::vector<int> Bars;
    std::vector<std::string> Infos;
};

// A complete header of eight lines; the other sections of a test file follow it.
inline std::string Header(int pmax, int xmax, int ymax, int zmax) {
    return "<header>\nversion 1\npmax " + std::to_string(pmax) + "\nxmax " + std::to_string(xmax) +
           "\nymax " + std::to_string(ymax) + "\nzmax " + std::to_string(zmax) +
           "\nvmax 1\n</header>\n";
}

// A person of a generated project: start cell and move list as the log file writes it.
struct TTestPerson {
    int X = 0;
    int Y = 0;
    std::string Moves = "S";
};

// One deck of size x size free cells; every person starts on it facing north.
inline std::string FloorProject(int size, int vMax, int tOff,
                                const std::vector<TTestPerson>& persons) {
    std::string text = "<header>\npmax " + std::to_string(persons.size()) + "\nxmax " +
                       std::to_string(size) + "\nymax " + std::to_string(size) + "\nzmax 1\nvmax " +
                       std::to_string(vMax) + "\ntoff " + std::to_string(tOff) +
                       "\nversion 1\n</header>\n";
    text += "<deck>\ncaption Floor\nlevel 0\n(celldata)\n";
    for (int y = 0; y < size; ++y) {
        text += "P" + std::to_string(size) + "x0\n";
    }
    text += "</deck>\n<persons>\n<startpositions>\n";
    for (const TTestPerson& person : persons) {
        text += std::to_string(person.X) + " " + std::to_string(person.Y) + " 0 1 0\n";
    }
    text += "(movement)\n";
    for (const TTestPerson& person : persons) {
        text += person.Moves + "\n";
    }
    return text + "</persons>\n";
}

// A damaged file that asks for hundreds of boxes around a clean project: its header section
// repeated with bad values, eight distinct bad numbers, and deck sections that name no deck.
inline std::string FloodedLog(const std::string& cleanProject, int repeats) {
    std::string text;
    for (int i = 0; i < repeats; ++i) {
        text += "<header>\npmax 0\nxmax 0\nymax 0\nzmax 0\nvmax 0\nversion 2\n</header>\n";
    }
    text += "<header>\n";
    for (int i = 0; i < DeckLightSlots; ++i) {
        text += "pmax q" + std::to_string(i) + "\n";
    }
    text += "</header>\n" + cleanProject;
    for (int i = 0; i < repeats; ++i) {
        text += "<deck>\nlevel 9\n(celldata)\nP2x1\n</deck>\n";
    }
    return text;
}

// A cell kind as the character the file writes for it; "." for void.
inline char CellChar(std::uint8_t kind) {
    const std::uint8_t kinds[] = {CellFree,  CellObstacle, CellBlue, CellGrey,
                                  CellGreen, CellRed,      CellVoid};
    return "012345.?"[std::find(std::begin(kinds), std::end(kinds), kind) - std::begin(kinds)];
}

// The project as text: header values, then every deck (cells in the file's characters, "." for
// void, rows split by "/"; rows its cell data never gave are void), then every person the header
// announces (start x, y, level, heading, attribute; moves), those the file never describes as
// persons without a start or moves.
inline std::string Describe(const TLogFile& p) {
    std::ostringstream out;
    out << "header " << p.PMax << ' ' << p.XMax << ' ' << p.YMax << ' ' << p.ZMax << ' ' << p.VMax
        << ' ' << p.TOff << '\n';
    for (const TDeck& deck : p.Decks) {
        out << "deck \"" << deck.Caption << "\" " << deck.CellCount << " cells " << deck.QuadCount
            << " quads ";
        const std::size_t grid =
            p.XMax > 0 && p.YMax > 0 ? std::size_t(p.XMax) * std::size_t(p.YMax) : 0;
        for (std::size_t i = 0; i < std::max(grid, deck.Cells.size()); ++i) {
            out << (i > 0 && i % static_cast<std::size_t>(p.XMax) == 0 ? "/" : "")
                << CellChar(i < deck.Cells.size() ? deck.Cells[i].Kind : std::uint8_t{CellVoid});
        }
        out << '\n';
    }
    std::vector<const TPersonData*> persons;
    for (const TPersonData& person : p.Persons) {
        persons.push_back(&person);
    }
    const TPersonData undescribed;
    persons.insert(persons.end(), static_cast<std::size_t>(p.UndescribedPersons()), &undescribed);
    for (const TPersonData* described : persons) {
        const TPersonData& person = *described;
        out << "person " << person.StartX << ' ' << person.StartY << ' ' << person.StartLevel << ' '
            << person.StartHeading << ' ' << person.Attribute << ":";
        for (const TMove& move : person.ExpandedMoves()) {
            out << ' '
                << (move.LevelChange > 0   ? "U"
                    : move.LevelChange < 0 ? "D"
                                           : "")
                << move.Direction;
        }
        out << '\n';
    }
    return out.str();
}

// Every fault with its place, as "line:column: text".
class TFaultsWithPlaces final : public IModelReports {
public:
    void Report(const TModelFault& fault) override {
        Faults.push_back(std::to_string(fault.Line) + ":" + std::to_string(fault.Column) + ": " +
                         fault.Text);
    }
    std::vector<std::string> Faults;
};

// Hands out the bytes a few at a time, as a slow pipe would.
class TTrickleSource final : public IByteSource {
public:
    TTrickleSource(std::string_view bytes, std::size_t step) : Bytes(bytes), Step(step) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, Step, Bytes.size()});
        std::copy_n(Bytes.data(), n, buffer);
        Bytes.remove_prefix(n);
        return n;
    }

private:
    std::string_view Bytes;
    std::size_t Step;
};

class TLoadedProject {
public:
    TLoadedProject() { Project.ReportTo(Reports); }
    explicit TLoadedProject(std::string_view text) : TLoadedProject() { Load(text); }

    bool Load(std::string_view text) { return Project.LoadFromMemory("test.3dl", text, Progress); }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> lines;
        for (const TRecordedMessage& m : Ui.Messages) {
            lines.push_back(BoxLine(m));
        }
        return lines;
    }

    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TRecordingProgress Progress;
    TBoxReports Reports;
    TLogFile Project{"Level"};
};

// How large a random project is: its decks' side, its persons at least and at most, the entries
// of a list at most, and the longest a person stands before it starts to walk (0: it starts at
// once).
struct TRandomShape {
    int Size = 6;
    int FewestPersons = 1;
    int Persons = 12;
    int Entries = 10;
    int LongestWait = 0;
};

// Three decks of size x size free cells; persons start anywhere on them. Their lists mix single
// entries, runs, deck changes and invalid directions; some persons leave at once, some stand
// all along, some walk off the deck.
inline std::string RandomProject(std::mt19937& random, int vMax, int tOff,
                                 const TRandomShape& shape = {}) {
    const int size = shape.Size;
    constexpr int decks = 3;
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const int persons = pick(shape.FewestPersons, shape.Persons);
    std::string text = "<header>\npmax " + std::to_string(persons) + "\nxmax " +
                       std::to_string(size) + "\nymax " + std::to_string(size) + "\nzmax " +
                       std::to_string(decks) + "\nvmax " + std::to_string(vMax) + "\ntoff " +
                       std::to_string(tOff) + "\nversion 1\n</header>\n";
    for (int d = 0; d < decks; ++d) {
        text += "<deck>\ncaption Deck " + std::to_string(d) + "\nlevel " + std::to_string(d) +
                "\n(celldata)\n";
        for (int y = 0; y < size; ++y) {
            text += "P" + std::to_string(size) + "x0\n";
        }
        text += "</deck>\n";
    }
    text += "<persons>\n<startpositions>\n";
    for (int p = 0; p < persons; ++p) {
        text += std::to_string(pick(0, size - 1)) + " " + std::to_string(pick(0, size - 1)) + " " +
                std::to_string(pick(0, decks - 1)) + " 1 0\n";
    }
    text += "(movement)\n";
    for (int p = 0; p < persons; ++p) {
        const int kind = pick(0, 5);
        if (kind == 0) {
            text += "S\n"; // leaves at once
            continue;
        }
        if (kind == 1) {
            text += "P" + std::to_string(pick(1, 40)) + "x0 S\n"; // never moves
            continue;
        }
        if (shape.LongestWait > 0) {
            text += "P" + std::to_string(pick(1, shape.LongestWait)) + "x0 ";
        }
        for (int entries = pick(1, shape.Entries); entries > 0; --entries) {
            const int what = pick(0, 9);
            const std::string direction = std::to_string(pick(0, 8));
            if (what < 4) {
                text += direction + " ";
            } else if (what < 7) {
                text += "P" + std::to_string(pick(2, 9)) + "x" + direction + " ";
            } else if (what == 7) {
                text += "U" + direction + " ";
            } else if (what == 8) {
                text += "D" + direction + " ";
            } else {
                text += "9 "; // not a direction: the person stays, as the replay keeps it
            }
        }
        text += "S\n";
    }
    return text + "</persons>\n";
}

// A log of one deck at two steps a second with an offset of 10 s, whose persons have move lists
// of the given lengths, standing: each leaves one step after its last entry.
inline std::string LogWithLists(const std::vector<int>& lengths) {
    std::string text = "<header>\npmax " + std::to_string(lengths.size()) +
                       "\nxmax 4\nymax 4\nzmax 1\nvmax 2\ntoff 10\nversion 1\n</header>\n"
                       "<deck>\ncaption Hold\nlevel 0\n(celldata)\nP4x0\nP4x0\nP4x0\nP4x0\n"
                       "</deck>\n<persons>\n<startpositions>\n";
    for (std::size_t p = 0; p < lengths.size(); ++p) {
        text += std::to_string(p % 4) + " 1 0 1 0\n";
    }
    text += "(movement)\n";
    for (const int length : lengths) {
        text += "P" + std::to_string(length) + "x0 S\n";
    }
    return text + "</persons>\n";
}
