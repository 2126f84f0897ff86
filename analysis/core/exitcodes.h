#ifndef ANALYSIS_EXITCODES_H
#define ANALYSIS_EXITCODES_H

#include "displaycheck.h"

// Every exit code of aspirello-analisi, in one place.
namespace ExitCode {

constexpr int Ok = 0;                 // done (also --help)
constexpr int BadOption = 2;          // unknown option, missing or bad value, wrong argument count
constexpr int MissingFile = 3;        // a log named on the command line does not exist
constexpr int UnreadableLog = 4;      // a log could not be opened, is binary, holds a bad line
                                      // (stop policy) or no readings at all
constexpr int CalibrationRefused = 5; // the calibration log is not one source, or no usable
                                      // calibration is stored when --calibration use asks for it
constexpr int OutputFailed = 6;       // the report, the calibration file or standard output could
                                      // not be written
constexpr int NoDisplay = kNoDisplayExitCode; // the window was asked for where there is no
                                              // display (the gauge's code too)
constexpr int LiveFailed = 8; // --live: the port did not open, the board gave no reading,
                              // or it was lost during the session

} // namespace ExitCode

#endif // ANALYSIS_EXITCODES_H
