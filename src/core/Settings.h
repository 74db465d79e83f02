// The process-wide settings record.
//
// It is read once at start-up and written back at a normal end (ui/SettingsStore);
// core/SettingValues.h lists its stored values in their read/write order.
#pragma once

#include <cstdint>
#include <string>

namespace cuttrace {

struct Settings {
    uint32_t originColor = 0xFF00FF;      // origin mark colour (0x00BBGGRR)
    int32_t gauge = 0;                    // kept and stored only
    uint32_t backgroundColor = 0xFFFFFF;  // kept and stored only; views are cleared to white
    uint32_t rapidColor = 0x000000;       // rapid moves
    uint32_t feedColor = 0x0000FF;        // feed moves (red)
    uint32_t cycleColor = 0xFF0000;       // canned cycles (blue)
    uint32_t contourColor = 0xC0C0FF;     // programmed contour under cutter compensation
    int32_t timerIntervalMs = 10;         // run timer interval in ms; 0 starts no timer
    int32_t dialect = 0;                  // dialect: 0 MELDAS, 1 FANUC, 2 TOSNAC
    double cutterDiameter = 2.0;          // cutter picture and drilling mark size
    bool drawRapids = true;               // kept and stored only
    bool stopAtM1 = true;                 // a block with M1 stops the run
    bool blockSkip = false;               // blocks that begin with '/' are skipped
    bool noMotionBuffer = true;   // "NonBufering": motions are not kept in the picture buffer
    bool showCutter = true;       // show the cutter in the views
    double dryRunSpeed = 2000.0;  // dry-run drawing speed (stored as an integer)
    std::string editorCommand = "blockpad.exe";
    // Cut simulation: the stock "X0,Y0,Z0,X1,Y1,Z1" (empty: from the cutting moves), the
    // cells along its longer side (0: the default) and the tool table file (empty: none).
    std::string cutStock;
    int32_t cutResolution = 0;
    std::string cutToolTable;
    // Viewer runs: a run ends after maxSteps steps of the engine (as cuttrace-cli --max-steps);
    // the stored path stops growing past pathMemoryMb megabytes (0: a quarter of the physical
    // memory); time estimates take rapids at rapidRate per minute.
    int32_t maxSteps = 100000000;
    int32_t pathMemoryMb = 0;
    double rapidRate = 10000.0;
    bool keepDrawingOnOpen = false;     // opening a program keeps the drawing of the last one
    bool singleBlockEveryLine = false;  // single block stops after every line, not every move
    bool autoFit = true;                // views fit the path on open unless zoomed or panned
    int32_t language = 0;  // the viewer's language: 0 from the locale, 1 Japanese, 2 English
    // Called programs: folders searched after the main program's ("a; b"), the variables
    // file loaded before each run, and the call codes ("G100=9010 macro; T=9000").
    std::string programFolders;
    std::string variablesFile;
    std::string callCodes;
    // BPRNT and DPRNT records are appended to this file as well as shown (empty: shown only).
    std::string printFile;
};

// The one record of the process (the viewer reads and writes it at start and end).
Settings& AppSettings();

}  // namespace cuttrace
