// Zip archives written in a line: compressed scores, whole or broken, for the readers' tests.
#pragma once

#include <gtest/gtest.h>

#include <zip.h>

#include <map>
#include <string>

namespace kor::test {

/// The container of a compressed score whose root file is `rootFile`.
inline std::string scoreContainer(const std::string& rootFile = "score.xml") {
    return "<?xml version='1.0'?><container><rootfiles><rootfile full-path='" + rootFile +
           "' media-type='application/vnd.recordare.musicxml+xml'/></rootfiles></container>";
}

/// Writes a zip archive of `entries` (name, content), deflated, at `path`.
inline void writeZip(const std::string& path, const std::map<std::string, std::string>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

/// Writes `score` as the one score of a compressed score file at `path`.
inline void writeCompressedScore(const std::string& path, const std::string& score) {
    writeZip(path, {{"META-INF/container.xml", scoreContainer()}, {"score.xml", score}});
}

} // namespace kor::test
