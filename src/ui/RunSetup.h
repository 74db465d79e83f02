// What the viewer gives a run besides the program: the program folders and call codes of
// the settings, and the variables file loaded before each run.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace cuttrace {
class NcRunner;
struct Settings;
}  // namespace cuttrace

namespace cuttrace::ui {

// Gives the runner the program folders and the call codes of the settings (a table the
// dialog would refuse, edited by hand in the settings file, is logged and left out).
void ApplyProgramSettings(NcRunner& runner, const Settings& settings);
// Loads the settings' variables file into the runner's machine; false with `error` naming
// the file and line when it cannot be used (the run must not start then).
bool LoadVariablesFile(NcRunner& runner, const Settings& settings, QString& error);

// Where BPRNT and DPRNT records go in the viewer: the message memo, and the end of the
// settings' print file when one is named (a file that cannot be written is said once).
class PrintOutput {
  public:
    explicit PrintOutput(const Settings& settings) : settings_(&settings) {}
    void operator()(std::string_view record);

  private:
    const Settings* settings_;
    std::string failed_;  // the print file last found unwritable
};

}  // namespace cuttrace::ui
