// Call codes: G and M codes (and the T word) that call a program, as the controls'
// parameters set them up: "G100=9010 macro" calls O9010 like G65 with the block's
// arguments, "M6=9001 subprogram" calls O9001 like M98, "T=9000" sets #149 to the T value
// and calls O9000 as a subprogram.
//
// Inside a program that a call code called, call codes are ordinary codes (so M6 in the
// program that M6 calls is the plain M6, as on the controls, never a call of itself).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cuttrace {

struct CallCode {
    char letter = 'G';    // G, M or T
    int32_t code = -1;    // the code's number (G100: 100); -1 for T (any T word)
    int64_t program = 0;  // the program called (O number)
    bool macro = false;   // called like G65 (arguments, a new level), else like M98
};

// The variable that a T call code sets to the T value.
inline constexpr int kTCodeVariable = 149;

// Reads a table: one entry a line or separated by ';', "G100=9010 macro",
// "M6=9001 subprogram", "T=9000"; blanks around the parts; '#' or '//' begins a comment
// that runs to the end of its line. A G code calls a macro unless "subprogram" follows, an M code
// or T a subprogram unless "macro" follows. False with `error` naming the first bad entry.
bool ParseCallCodes(std::string_view text, std::vector<CallCode>& codes, std::string& error);

// The table as the settings store it: entries separated by "; ".
std::string FormatCallCodes(const std::vector<CallCode>& codes);

}  // namespace cuttrace
