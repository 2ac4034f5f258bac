// The readable summaries `kortool info` prints: of a song and of a MIDI file's import sources.
#pragma once

#include "Session.h"

#include <string>
#include <vector>

namespace kortool {

/// The song's name, pre-measure, time signatures, tempos, tracks with their parts, notes,
/// singers and lengths, WAV parts with whether their files are there, and the VVoices in use.
std::string describeSong(const IZRKorRoot& root, const Session& session);
/// The import sources a MIDI file offers, one line each.
std::string describeDirectives(const std::vector<ZRSMFTrackImportDirective>& directives);

} // namespace kortool
