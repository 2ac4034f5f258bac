// Points the library's data folder at a temporary folder that also holds the vibrato articulation
// file the stand-in voice database names, for tests and fuzzers that run a manager.
#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <string>

namespace kor::test {

/// Makes `data` the user's data folder ($XDG_DATA_HOME) and writes the stand-in voice database's
/// vibrato file into it ($KOR_FAKE_VIBRATO_FILE).
inline void useTestDataFolder(const TempDir& data) {
    ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    data.write("normal.aic", "[Common]\nCaption=Normal\n[Parameter]\nLength=480\n"
                             "StartDepth=64\nDepthBPNum=2\nDepthBPX=0.0,1.0\nDepthBPY=64,0\n");
    ::setenv("KOR_FAKE_VIBRATO_FILE", (data.path() + "/normal.aic").c_str(), 1);
}

} // namespace kor::test
