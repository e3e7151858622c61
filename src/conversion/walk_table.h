// The characters that a walk over a line stops at, by class, for the
// conversion walks over motion lines.
#pragma once

namespace ncabs {

enum WalkClass : unsigned char {
    Plain = 0,     // copied as it stands
    AxisWord,      // X, Y, Z: a word converted to an absolute position
    ArcWord,       // I, J, K, R: a word whose value is kept
    CommentStart,  // "(": copied through its first ")"
    GWord,         // G: may select a mode or set the line apart
    LineEnd,       // the LF
};

struct WalkTable {
    WalkClass of[256] = {};
    constexpr WalkTable() {
        of[static_cast<unsigned char>('X')] = AxisWord;
        of[static_cast<unsigned char>('Y')] = AxisWord;
        of[static_cast<unsigned char>('Z')] = AxisWord;
        of[static_cast<unsigned char>('I')] = ArcWord;
        of[static_cast<unsigned char>('J')] = ArcWord;
        of[static_cast<unsigned char>('K')] = ArcWord;
        of[static_cast<unsigned char>('R')] = ArcWord;
        of[static_cast<unsigned char>('(')] = CommentStart;
        of[static_cast<unsigned char>('G')] = GWord;
        of[static_cast<unsigned char>('\n')] = LineEnd;
    }
};
inline constexpr WalkTable kWalk;

}  // namespace ncabs
