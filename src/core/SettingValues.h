// The stored values of the settings record: their value names, how each is stored, and
// the text form the settings file holds.
//
// The Qt adapter (ui/SettingsStore) walks SettingValues() in order to read and to write;
// everything that decides what a stored text means lives here, free of Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/Settings.h"

namespace cuttrace {

enum class SettingKind {
    Colour,       // 0x00BBGGRR, stored as an unsigned integer
    Integer,      // int32
    Flag,         // stored as 0 or 1; any nonzero integer reads as true
    WholeNumber,  // a double stored as an integer (the speed truncated)
    Real,         // a finite double
    Text,         // a string
};

// One stored value. Exactly the member pointer that matches `kind` is set.
struct SettingValue {
    const char* name;
    SettingKind kind;
    uint32_t Settings::*colour = nullptr;
    int32_t Settings::*integer = nullptr;
    bool Settings::*flag = nullptr;
    double Settings::*real = nullptr;  // WholeNumber and Real
    std::string Settings::*text = nullptr;
};

// The values in their read and write order: Org, Gage, Feed, Rapid, Spot, Back, NCCODE,
// Buer, G0, M1, TIMER, DRYRUN, CutterDia, CuterView, EditerPath, CutStock, CutResolution,
// CutTools, MaxSteps, PathMemory, RapidRate, KeepDrawing, StepEveryLine, AutoFit,
// Language.
std::span<const SettingValue> SettingValues();

// The value as an integer, for the kinds stored as integers (Colour, Integer, Flag,
// WholeNumber); a WholeNumber is truncated towards zero and clamped to the int32 range
// (a NaN is stored as 0).
int64_t StoredInteger(const SettingValue& value, const Settings& settings);

// The text the settings file holds for the value: a decimal integer, the shortest
// decimal text of a Real that reads back exactly, or the string itself.
std::string StoredText(const SettingValue& value, const Settings& settings);

// Reads a stored text into the field. Returns false, leaving the field unchanged, when
// the text is malformed for the value's kind: not an integer (colours also take a
// "0x" hexadecimal form), out of range, or a Real that is not a finite number.
// Blanks around the text are ignored; flags also take "true" and "false".
bool ReadStoredText(const SettingValue& value, std::string_view text, Settings& settings);

// Puts the field back to the default of a fresh record.
void ResetToDefault(const SettingValue& value, Settings& settings);

}  // namespace cuttrace
