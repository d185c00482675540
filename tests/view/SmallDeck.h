#pragma once
// The small project the view tests draw.

// A 10 x 6 deck of floor with one obstacle cell at (8, 4) and one person near the centre who
// faces north-east, then steps one cell east.
inline const char* const SmallDeck =
    "<header> pmax 1 xmax 10 ymax 6 zmax 2 vmax 1 </header>\n"
    "<deck> caption Main\nlevel 0 (celldata)\n"
    "P10x0\nP10x0\nP10x0\nP10x0\nP8x0 1 0\nP10x0\n</deck>\n"
    "<deck> caption Upper\nlevel 1 (celldata)\n"
    "P10x0\nP10x0\nP10x0\nP10x0\nP10x0\nP10x0\n</deck>\n"
    "<persons> <startpositions>\n2 1 0 2 0\n(movement)\n3 S\n</persons>\n";
