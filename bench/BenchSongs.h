// Inputs and clocks shared by the benchmarks of song files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kor::bench {

/// A file `name` in this run's own scratch folder (removed at exit), so that runs side by side
/// never share files.
std::filesystem::path scratchFile(const std::string& name);

/// A KOR3 song of one track and one musical part holding `notes` notes, laid out as the writer
/// lays it out; written once per run into the scratch folder.
const std::filesystem::path& songFile(std::int64_t notes);

/// CPU seconds of the calling thread: other work on the machine does not count.
double cpuSeconds();

} // namespace kor::bench
