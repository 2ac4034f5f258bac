#include "interchange/MusicXmlArchive.h"

#include "interchange/MusicXmlParser.h"
#include "platform/CodePage.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <zip.h>

#include <memory>
#include <new>
#include <optional>

namespace kor {

namespace {

constexpr unsigned kUtf8 = 65001;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// Finds the first root file the container names.
class ContainerSink final : public CxMusicXmlParser::Sink {
public:
    std::uint32_t startElement(const ZRXmlTag& tag) override {
        if (tag.name != L"rootfile" || !rootFile.empty()) return 0;
        if (const std::wstring* path = tag.attribute(L"full-path")) rootFile = *path;
        return 0;
    }
    std::uint32_t endElement(const std::wstring&, const std::wstring&) override { return 0; }
    std::wstring refusalReason() const override { return {}; }

    std::wstring rootFile;
};

std::uint32_t refuse(std::wstring& message, std::wstring reason) {
    message = std::move(reason);
    return ZR_E_INVALID_MUSICXML_ARCHIVE;
}

// Inflates the entry `name` into `out`, refusing it once it gives more than `limit` bytes,
// whatever size the archive declares for it.
std::uint32_t inflate(zip_t* archive, const std::wstring& name, std::size_t limit, std::string& out,
                      std::wstring& message) {
    const std::optional<std::string> utf8 = platform::wideToMultiByte(name, kUtf8);
    const zip_int64_t index = utf8 ? zip_name_locate(archive, utf8->c_str(), 0) : -1;
    if (index < 0) return refuse(message, L"the archive holds no entry '" + name + L"'");
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > limit)
        return refuse(message, L"the entry '" + name + L"' inflates to more than " +
                                   std::to_wstring(limit) + L" bytes");
    const std::unique_ptr<zip_file_t, EntryCloser> entry(
        zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
    if (!entry) return refuse(message, L"the entry '" + name + L"' cannot be inflated");
    out.clear();
    char block[65536];
    for (;;) {
        const zip_int64_t count = zip_fread(entry.get(), block, sizeof block);
        if (count < 0) return refuse(message, L"the entry '" + name + L"' is damaged");
        if (count == 0) break;
        if (out.size() + static_cast<std::size_t>(count) > limit)
            return refuse(message, L"the entry '" + name + L"' inflates to more than " +
                                       std::to_wstring(limit) + L" bytes");
        out.append(block, static_cast<std::size_t>(count));
    }
    return 0;
}

} // namespace

std::uint32_t readMusicXmlArchive(const std::wstring& path, std::string& document,
                                  std::wstring& rootFile, std::wstring& message,
                                  std::size_t maxScoreBytes) {
    document.clear();
    rootFile.clear();
    message.clear();
    const auto file = platform::toPath(path);
    if (!file) return ZR_E_FILE_NOT_FOUND;
    try {
        int error = 0;
        const Archive archive(zip_open(file->c_str(), ZIP_RDONLY, &error));
        if (!archive) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN) return ZR_E_FILE_NOT_FOUND;
            if (error == ZIP_ER_MEMORY) return ZR_E_NOT_ENOUGH_MEMORY;
            return refuse(message, L"the file is no zip archive");
        }
        std::string container;
        if (const std::uint32_t code = inflate(archive.get(), L"META-INF/container.xml",
                                               kMaxContainerBytes, container, message))
            return code;
        CxMusicXmlParser parser;
        ContainerSink sink;
        if (const std::uint32_t code =
                parser.parseBytes(container, path + L"!META-INF/container.xml", sink)) {
            message = parser.message();
            return code;
        }
        if (sink.rootFile.empty()) return refuse(message, L"the container names no root file");
        if (const std::uint32_t code =
                inflate(archive.get(), sink.rootFile, maxScoreBytes, document, message)) {
            document.clear();
            return code;
        }
        rootFile = std::move(sink.rootFile);
        return 0;
    } catch (const std::bad_alloc&) {
        document.clear();
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
}

} // namespace kor
