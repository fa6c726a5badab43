// The program-wide settings values, alive from start-up to exit; set by the
// start-up load and by the settings window's apply. Texts are Windows-1252.
// The initial values here are also what a key missing from Settings.ini gives.
#pragma once

#include <string>

namespace tessaro::config {

struct ProgramSettings {
    std::string PathS;           // full path of the request file
    std::string PathD;           // target directory
    std::string LumeoID = "001"; // first part of every output file name
    std::string Suffix = "GDT";  // request-file suffix, held upper case
    bool Manual = false;         // user-defined buttons in use
    bool StudyDesc = false;      // field 6227 instead of 8411
};

} // namespace tessaro::config
