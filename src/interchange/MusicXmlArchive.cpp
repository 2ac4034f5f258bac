#include "interchange/MusicXmlArchive.h"

#include "interchange/MusicXmlParser.h"
#include "platform/CodePage.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <optional>

namespace kor {

namespace {

constexpr unsigned kUtf8 = 65001;

std::atomic<std::uint64_t> gInflatedScoreBytes{0};

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

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

std::wstring tooLarge(const std::wstring& name, std::size_t limit) {
    return L"the entry '" + name + L"' inflates to more than " + std::to_wstring(limit) + L" bytes";
}

} // namespace

/// The open archive and the open root file.
struct CZRMusicXmlArchive::Zip {
    Archive archive;
    Entry score;
};

CZRMusicXmlArchive::CZRMusicXmlArchive(std::size_t maxScoreBytes)
    : maxScoreBytes_(maxScoreBytes) {}

CZRMusicXmlArchive::~CZRMusicXmlArchive() = default;

std::uint64_t CZRMusicXmlArchive::inflatedScoreBytes() {
    return gInflatedScoreBytes.load();
}

std::uint32_t CZRMusicXmlArchive::refuse(std::wstring reason) {
    message_ = std::move(reason);
    return ZR_E_INVALID_MUSICXML_ARCHIVE;
}

std::uint32_t CZRMusicXmlArchive::open(const std::wstring& path) {
    zip_.reset();
    rootFile_.clear();
    inflated_ = 0;
    failure_ = 0;
    message_.clear();
    const auto file = platform::toPath(path);
    if (!file) return ZR_E_FILE_NOT_FOUND;
    try {
        auto zip = std::make_unique<Zip>();
        int error = 0;
        zip->archive.reset(zip_open(file->c_str(), ZIP_RDONLY, &error));
        if (!zip->archive) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN) return ZR_E_FILE_NOT_FOUND;
            if (error == ZIP_ER_MEMORY) return ZR_E_NOT_ENOUGH_MEMORY;
            return refuse(L"the file is no zip archive");
        }
        // Opens the entry `name`, refusing one that declares more than `limit` bytes.
        const auto openEntry = [&](const std::wstring& name, std::size_t limit, Entry& entry) {
            const std::optional<std::string> utf8 = platform::wideToMultiByte(name, kUtf8);
            const zip_int64_t index =
                utf8 ? zip_name_locate(zip->archive.get(), utf8->c_str(), 0) : -1;
            if (index < 0) return refuse(L"the archive holds no entry '" + name + L"'");
            zip_stat_t stat;
            zip_stat_init(&stat);
            if (zip_stat_index(zip->archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) ==
                    0 &&
                (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > limit)
                return refuse(tooLarge(name, limit));
            entry.reset(zip_fopen_index(zip->archive.get(), static_cast<zip_uint64_t>(index), 0));
            if (!entry) return refuse(L"the entry '" + name + L"' cannot be inflated");
            return std::uint32_t{0};
        };

        const std::wstring containerName = L"META-INF/container.xml";
        Entry container;
        if (const std::uint32_t code = openEntry(containerName, kMaxContainerBytes, container))
            return code;
        // The container is small: inflated whole, whatever size it declares, then read.
        std::string text;
        char block[4096];
        for (;;) {
            const zip_int64_t count = zip_fread(container.get(), block, sizeof block);
            if (count < 0) return refuse(L"the entry '" + containerName + L"' is damaged");
            if (count == 0) break;
            if (text.size() + static_cast<std::size_t>(count) > kMaxContainerBytes)
                return refuse(tooLarge(containerName, kMaxContainerBytes));
            text.append(block, static_cast<std::size_t>(count));
        }
        CxMusicXmlParser parser;
        ContainerSink sink;
        CZRXmlMemorySource bytes(text);
        if (const std::uint32_t code = parser.parse(bytes, path + L"!" + containerName, sink)) {
            message_ = parser.message();
            return code;
        }
        if (sink.rootFile.empty()) return refuse(L"the container names no root file");
        if (const std::uint32_t code = openEntry(sink.rootFile, maxScoreBytes_, zip->score))
            return code;
        rootFile_ = std::move(sink.rootFile);
        zip_ = std::move(zip);
        return 0;
    } catch (const std::bad_alloc&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
}

std::size_t CZRMusicXmlArchive::read(std::byte* buffer, std::size_t size) {
    if (zip_ == nullptr || failure_ != 0) return 0;
    // One byte past the bound tells a score that grows beyond it from one that ends on it.
    const std::size_t room = maxScoreBytes_ - inflated_ + 1;
    const zip_int64_t count = zip_fread(zip_->score.get(), buffer, std::min(size, room));
    if (count < 0) {
        failure_ = refuse(L"the entry '" + rootFile_ + L"' is damaged");
        return 0;
    }
    inflated_ += static_cast<std::size_t>(count);
    gInflatedScoreBytes += static_cast<std::uint64_t>(count);
    if (inflated_ > maxScoreBytes_) {
        failure_ = refuse(tooLarge(rootFile_, maxScoreBytes_));
        return 0;
    }
    return static_cast<std::size_t>(count);
}

} // namespace kor
